#include "serial/SerialDrv.h"
// Placeholder until the driver lands.
