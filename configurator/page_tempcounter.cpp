#include "configurator/form.h"

namespace configurator {

void TForm1::BuildTempCounterPages() {}

}  // namespace configurator
