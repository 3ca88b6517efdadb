#include "configurator/form.h"

namespace configurator {

void TForm1::BuildSchedulePage() {}
void TForm1::DecodeScheduleString() {}

}  // namespace configurator
