#include "portable/text/UnicodeText.h"

#include <cstdint>

namespace {

bool IsHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// The code point starting at units[i]; i moves past it.
char32_t NextCodePoint(const char16_t* units, size_t count, size_t& i) {
  char16_t u = units[i++];
  if (IsHighSurrogate(u) && i < count && IsLowSurrogate(units[i]))
    return 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (units[i++] - 0xDC00);
  if (IsHighSurrogate(u) || IsLowSurrogate(u)) return 0xFFFD;
  return u;
}

size_t EncodeUtf8(char32_t c, unsigned char* bytes) {
  if (c < 0x80) {
    bytes[0] = static_cast<unsigned char>(c);
    return 1;
  }
  if (c < 0x800) {
    bytes[0] = static_cast<unsigned char>(0xC0 | (c >> 6));
    bytes[1] = static_cast<unsigned char>(0x80 | (c & 0x3F));
    return 2;
  }
  if (c < 0x10000) {
    bytes[0] = static_cast<unsigned char>(0xE0 | (c >> 12));
    bytes[1] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
    bytes[2] = static_cast<unsigned char>(0x80 | (c & 0x3F));
    return 3;
  }
  bytes[0] = static_cast<unsigned char>(0xF0 | (c >> 18));
  bytes[1] = static_cast<unsigned char>(0x80 | ((c >> 12) & 0x3F));
  bytes[2] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
  bytes[3] = static_cast<unsigned char>(0x80 | (c & 0x3F));
  return 4;
}

}  // namespace

size_t CountCharacters(const char16_t* units, size_t count) {
  size_t characters = 0;
  for (size_t i = 0; i < count; ++characters) NextCodePoint(units, count, i);
  return characters;
}

size_t Utf16ToUtf8(const char16_t* units, size_t count, char* out, size_t size) {
  size_t written = 0;
  for (size_t i = 0; i < count;) {
    unsigned char bytes[4];
    size_t n = EncodeUtf8(NextCodePoint(units, count, i), bytes);
    if (written + n > size - 1) break;
    for (size_t k = 0; k < n; ++k) out[written++] = static_cast<char>(bytes[k]);
  }
  out[written] = '\0';
  return written;
}
