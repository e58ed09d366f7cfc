#include "portable/engine/PasswordDigest.h"

#include <cstring>

#include "portable/text/Base64.h"
#include "portable/text/TextBuffer.h"

namespace {

const char PREFIX[] = "$pbkdf2-sha256$i=";

// Plain digits, no sign, no leading zero, within the range.
bool ReadCount(const char* text, size_t length, uint32_t& count) {
  if (length == 0 || length > 8 || text[0] == '0') return false;
  uint32_t value = 0;
  for (size_t i = 0; i < length; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + static_cast<uint32_t>(text[i] - '0');
  }
  if (value < FEWEST_DIGEST_ITERATIONS || value > MOST_DIGEST_ITERATIONS) return false;
  count = value;
  return true;
}

}  // namespace

bool ParseDigest(const char* text, PasswordDigest& digest) {
  const size_t prefixLength = sizeof PREFIX - 1;
  if (std::strncmp(text, PREFIX, prefixLength) != 0) return false;
  const char* count = text + prefixLength;
  const char* saltStart = std::strchr(count, '$');
  if (!saltStart) return false;
  ++saltStart;
  const char* hashStart = std::strchr(saltStart, '$');
  if (!hashStart) return false;
  ++hashStart;
  PasswordDigest read;
  // The hash runs to the end: a further "$" is no Base64 and fails there.
  if (!ReadCount(count, static_cast<size_t>(saltStart - 1 - count), read.iterations) ||
      !DecodeBase64(saltStart, static_cast<size_t>(hashStart - 1 - saltStart), read.salt, DIGEST_SALT_SIZE) ||
      !DecodeBase64(hashStart, std::strlen(hashStart), read.hash, DIGEST_HASH_SIZE))
    return false;
  digest = read;
  return true;
}

void FormatDigest(const PasswordDigest& digest, char* text) {
  char salt[Base64Length(DIGEST_SALT_SIZE) + 1], hash[Base64Length(DIGEST_HASH_SIZE) + 1];
  EncodeBase64(digest.salt, DIGEST_SALT_SIZE, salt);
  EncodeBase64(digest.hash, DIGEST_HASH_SIZE, hash);
  TextBuffer(text, DIGEST_TEXT_SIZE).Add(PREFIX).AddNumber(digest.iterations).Add("$").Add(salt).Add("$").Add(hash);
}

bool SameHash(const uint8_t* a, const uint8_t* b) {
  uint8_t differ = 0;
  for (size_t i = 0; i < DIGEST_HASH_SIZE; ++i) differ |= static_cast<uint8_t>(a[i] ^ b[i]);
  return differ == 0;
}
