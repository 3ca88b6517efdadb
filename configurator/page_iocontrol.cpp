#include "configurator/form.h"

namespace configurator {

void TForm1::BuildIOControlPage() {}

}  // namespace configurator
