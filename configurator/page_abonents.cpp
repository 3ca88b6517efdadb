#include "configurator/form.h"

namespace configurator {

void TForm1::BuildAbonentsPage() {}

}  // namespace configurator
