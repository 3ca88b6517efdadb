#pragma once
// The former place of this header, kept only until the FTP and benchmark sources include
// "monitor/core/csvconfig.h".
#include "monitor/core/csvconfig.h"
