#pragma once
// The former place of this header, kept only until the FTP and benchmark sources include
// "platform/core/cp1252.h".
#include "platform/core/cp1252.h"
