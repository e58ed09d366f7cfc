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

char32_t NextUtf8CodePoint(const char* text, size_t& i) {
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text) + i;
  unsigned char b = bytes[0];
  size_t length = b < 0x80 ? 1 : (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : (b & 0xF8) == 0xF0 ? 4 : 0;
  char32_t c = length == 1 ? b : length == 2 ? b & 0x1F : length == 3 ? b & 0x0F : b & 0x07;
  for (size_t k = 1; k < length; ++k) {
    if ((bytes[k] & 0xC0) != 0x80) length = 0;  // cut short, the terminator included
    if (length == 0) break;
    c = (c << 6) | (bytes[k] & 0x3F);
  }
  if (length == 0) c = 0xFFFD, length = 1;
  i += length;
  return c;
}

size_t Utf8ToUtf16(const char* text, char16_t* out, size_t room) {
  size_t written = 0;
  for (size_t i = 0; text[i];) {
    size_t at = i;
    char32_t c = NextUtf8CodePoint(text, at);
    size_t units = c >= 0x10000 ? 2 : 1;
    if (written + units > room) break;
    if (units == 2) {
      out[written++] = static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      out[written++] = static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      out[written++] = static_cast<char16_t>(c);
    }
    i = at;
  }
  return written;
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
