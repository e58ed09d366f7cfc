#include "portable/text/TextBuffer.h"

#include <charconv>
#include <cstring>

TextBuffer& TextBuffer::Add(const char* text) {
  Put(text, std::strlen(text));
  return *this;
}

TextBuffer& TextBuffer::AddNumber(int32_t value) {
  char digits[DECIMAL_SIZE];
  Put(digits, FormatDecimal(value, digits));
  return *this;
}

TextBuffer& TextBuffer::AddNumber(uint32_t value) {
  char digits[DECIMAL_SIZE];
  Put(digits, FormatDecimal(value, digits));
  return *this;
}

size_t FormatDecimal(int32_t value, char* out) {
  return static_cast<size_t>(std::to_chars(out, out + DECIMAL_SIZE, value).ptr - out);
}

size_t FormatDecimal(uint32_t value, char* out) {
  return static_cast<size_t>(std::to_chars(out, out + DECIMAL_SIZE, value).ptr - out);
}

void TextBuffer::Put(const char* bytes, size_t length) {
  size_t room = static_cast<size_t>(end_ - next_);
  if (length > room) length = room;
  std::memcpy(next_, bytes, length);
  next_ += length;
  *next_ = '\0';
}
