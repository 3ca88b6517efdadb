#pragma once
// The former place of this header, kept only until the FTP and benchmark sources include
// "configurator/core/pdu.h".
#include "configurator/core/pdu.h"
