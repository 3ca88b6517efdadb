#include "configurator/form.h"

namespace configurator {

void TForm1::BuildOtherPage() {}

}  // namespace configurator
