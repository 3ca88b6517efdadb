#include "configurator/form.h"

namespace configurator {

void TForm1::BuildAnalogPage() {}

}  // namespace configurator
