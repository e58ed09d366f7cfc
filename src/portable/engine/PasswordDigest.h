// A password kept as a salted, slow digest instead of the password itself:
// PBKDF2-HMAC-SHA256, written in the PHC string form
//   $pbkdf2-sha256$i=600000$<salt>$<hash>
// with the salt (16 bytes) and the hash (32 bytes) in Base64 without padding.
// Reading and writing that form, and comparing hashes, without Windows; the
// derivation itself is Windows' own (win32/SystemCrypto).
#pragma once

#include <cstddef>
#include <cstdint>

const size_t DIGEST_SALT_SIZE = 16;
const size_t DIGEST_HASH_SIZE = 32;
const uint32_t DIGEST_ITERATIONS = 600000;  // OWASP's figure for PBKDF2-HMAC-SHA256
const uint32_t FEWEST_DIGEST_ITERATIONS = 100000;
const uint32_t MOST_DIGEST_ITERATIONS = 10000000;  // a site may raise the count up to this

struct PasswordDigest {
  uint32_t iterations;
  uint8_t salt[DIGEST_SALT_SIZE];
  uint8_t hash[DIGEST_HASH_SIZE];
};

// The longest digest text, with its terminator.
const size_t DIGEST_TEXT_SIZE = sizeof "$pbkdf2-sha256$i=10000000$" + 22 + 1 + 43;

// Reads the whole text as a digest. False, with digest untouched, for anything
// but exactly the form above: the prefix, "i=" and a count from
// FEWEST_DIGEST_ITERATIONS to MOST_DIGEST_ITERATIONS in plain digits, the salt
// and the hash of their exact lengths, nothing more.
bool ParseDigest(const char* text, PasswordDigest& digest);
// Writes the digest's text into text (of size DIGEST_TEXT_SIZE at least).
void FormatDigest(const PasswordDigest& digest, char* text);

// Whether the two hashes are equal, in a time that does not depend on where
// they differ.
bool SameHash(const uint8_t* a, const uint8_t* b);
