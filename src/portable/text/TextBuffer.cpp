#include "portable/text/TextBuffer.h"

#include <charconv>
#include <cstring>

TextBuffer& TextBuffer::Add(const char* text) {
  Put(text, std::strlen(text));
  return *this;
}

TextBuffer& TextBuffer::AddNumber(int64_t value) {
  char digits[DECIMAL_SIZE];
  Put(digits, FormatDecimal(value, digits));
  return *this;
}

size_t FormatDecimal(int64_t value, char* out) {
  size_t sign = value < 0 ? 1 : 0;
  out[0] = '-';
  uint32_t magnitude = static_cast<uint32_t>(value < 0 ? -value : value);
  return static_cast<size_t>(std::to_chars(out + sign, out + DECIMAL_SIZE, magnitude).ptr - out);
}

void TextBuffer::Put(const char* bytes, size_t length) {
  size_t room = static_cast<size_t>(end_ - next_);
  if (length > room) length = room;
  std::memcpy(next_, bytes, length);
  next_ += length;
  *next_ = '\0';
}
