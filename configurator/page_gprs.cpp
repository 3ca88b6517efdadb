#include "configurator/form.h"

namespace configurator {

void TForm1::BuildGprsPage() {}

}  // namespace configurator
