// Standard Base64 (RFC 4648, "+" and "/") without padding, as the PHC string
// form of a password digest writes its salt and hash.
#pragma once

#include <cstddef>
#include <cstdint>

// Characters that length bytes take.
constexpr size_t Base64Length(size_t bytes) { return (bytes * 4 + 2) / 3; }

// Writes Base64Length(length) characters and a terminator into text (of size at
// least that plus one).
void EncodeBase64(const uint8_t* bytes, size_t length, char* text);

// Decodes exactly `length` characters into exactly `size` bytes. False for a
// wrong length, a character outside the alphabet (padding included) or a last
// character whose unused bits are not zero: one digest has one spelling.
bool DecodeBase64(const char* text, size_t length, uint8_t* bytes, size_t size);
