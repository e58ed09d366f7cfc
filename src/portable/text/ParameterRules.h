// What a function's parameter asks for, decided without touching Windows: the
// password, a limit, a switch. The handlers apply the result.
#pragma once

#include <cstdint>

#include "portable/text/HostHandle.h"

// Limits above this would overflow four times themselves in 32 bits.
const int32_t MAX_LIMIT_SECONDS = 536870911;

// A limit in seconds as a number reads; clamped to MAX_LIMIT_SECONDS.
int32_t ParseLimit(const char* text);

// Reads the password into password (255 bytes) in Windows text. False, with
// password untouched, when the parameter is too long to read.
bool ReadPassword(const HostCallbacks& host, FMHandle parameter, char* password);

// Reads a limit. False, with seconds untouched, when the parameter is too long.
bool ReadLimit(const HostCallbacks& host, FMHandle parameter, int32_t& seconds);

const int SWITCH_BAD_LENGTH = -2;  // empty or too long: nothing to look at
const int SWITCH_UNCHANGED = -1;   // a first byte other than "0" or "1"
// The switch value that the parameter's first byte names: 0, 1, or one of the above.
int ReadSwitch(const HostCallbacks& host, FMHandle parameter);
