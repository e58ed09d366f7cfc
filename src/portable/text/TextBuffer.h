// Text put together piece by piece in a buffer of a fixed size: never written
// past its end, always terminated. What does not fit is cut off.
#pragma once

#include <cstddef>
#include <cstdint>

class TextBuffer {
 public:
  // size must be at least 1, for the terminator.
  TextBuffer(char* text, size_t size) : next_(text), end_(text + size - 1) { *next_ = '\0'; }
  TextBuffer& Add(const char* text);
  TextBuffer& AddNumber(int32_t value);
  TextBuffer& AddNumber(uint32_t value);

 private:
  void Put(const char* bytes, size_t length);
  char* next_;
  char* end_;
};

// The decimal digits of value, with a leading minus when negative, into out
// (room for DECIMAL_SIZE); the count written, no terminator.
const size_t DECIMAL_SIZE = 12;
size_t FormatDecimal(int32_t value, char* out);
size_t FormatDecimal(uint32_t value, char* out);
