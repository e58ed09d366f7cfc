#include "portable/text/NumberText.h"

#include <cstdlib>

int32_t ParseDecimal(const char* text) {
  // strtol, not strtoll: Windows' C library has it, where strtoll would bring
  // a copy of its own into the image. Where long is wider, the clamp below.
  long long value = std::strtol(text, nullptr, 10);
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(value);
}
