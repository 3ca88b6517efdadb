#include "configurator/form.h"

namespace configurator {

void TForm1::BuildTextPages() {}

}  // namespace configurator
