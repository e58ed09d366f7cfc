#include "portable/text/TextBuffer.h"

#include <charconv>
#include <cstring>

TextBuffer& TextBuffer::Add(const char* text) {
  Put(text, std::strlen(text));
  return *this;
}

TextBuffer& TextBuffer::AddNumber(int64_t value) {
  char digits[24];
  std::to_chars_result r = std::to_chars(digits, digits + sizeof digits, value);
  Put(digits, static_cast<size_t>(r.ptr - digits));
  return *this;
}

void TextBuffer::Put(const char* bytes, size_t length) {
  size_t room = static_cast<size_t>(end_ - next_);
  if (length > room) length = room;
  std::memcpy(next_, bytes, length);
  next_ += length;
  *next_ = '\0';
}
