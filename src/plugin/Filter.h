// Converts the host's Mac OS Roman text to Windows-1252, byte for byte.
#pragma once

#include <cstdint>

const int TEMP_TEXT_SIZE = 256;
extern char thetemp[TEMP_TEXT_SIZE];  // converted in place by Filter
extern int32_t ctr;                    // index of the byte being converted

// Converts the NUL-terminated text in thetemp in place.
void Filter();
