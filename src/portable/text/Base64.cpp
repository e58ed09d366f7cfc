#include "portable/text/Base64.h"

namespace {

const char ALPHABET[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int ValueOf(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

}  // namespace

void EncodeBase64(const uint8_t* bytes, size_t length, char* text) {
  uint32_t bits = 0;
  int held = 0;
  for (size_t i = 0; i < length; ++i) {
    bits = (bits << 8) | bytes[i];
    held += 8;
    while (held >= 6) *text++ = ALPHABET[(bits >> (held -= 6)) & 63];
  }
  if (held > 0) *text++ = ALPHABET[(bits << (6 - held)) & 63];
  *text = '\0';
}

bool DecodeBase64(const char* text, size_t length, uint8_t* bytes, size_t size) {
  if (length != Base64Length(size)) return false;
  uint32_t bits = 0;
  int held = 0;
  size_t written = 0;
  for (size_t i = 0; i < length; ++i) {
    int value = ValueOf(text[i]);
    if (value < 0) return false;
    bits = (bits << 6) | static_cast<uint32_t>(value);
    held += 6;
    if (held >= 8) bytes[written++] = static_cast<uint8_t>(bits >> (held -= 8));
  }
  return (bits & ((1u << held) - 1)) == 0;
}
