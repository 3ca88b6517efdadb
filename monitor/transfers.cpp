#include "monitor/form.h"

namespace monitor {

}  // namespace monitor
