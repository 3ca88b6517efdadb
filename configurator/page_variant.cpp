#include "configurator/form.h"

namespace configurator {

void TForm1::ApplyModelVariant(bool) {}

}  // namespace configurator
