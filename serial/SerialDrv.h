#pragma once
// The former place of this header, kept only until the FTP and benchmark sources include
// "serial/serialdrv.h".
#include "serial/serialdrv.h"
