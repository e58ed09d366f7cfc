#pragma once

#include <cstdint>

// Reads a signed decimal number the way strtol does (leading white space, an
// optional sign, digits up to the first other byte; none gives 0), clamped to
// the 32-bit signed range.
int32_t ParseDecimal(const char* text);

// Clamps value into [low, high].
inline int32_t ClampInt(int32_t value, int32_t low, int32_t high) {
  return value < low ? low : (value > high ? high : value);
}
