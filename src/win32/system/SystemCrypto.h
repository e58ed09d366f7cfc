// Windows' own cryptography (bcrypt.dll from the system folder; its PBKDF2 from
// Windows 7 on), bound at run time: the 32-bit build also loads on Windows that
// lack it, where these fail.
#pragma once

#include <cstddef>
#include <cstdint>

#include "portable/engine/PasswordDigest.h"

// PBKDF2-HMAC-SHA256 of password (length bytes) with salt, into out (size bytes).
bool DerivePbkdf2Sha256(const void* password, size_t length, const uint8_t* salt, size_t saltSize, uint32_t iterations,
                        uint8_t* out, size_t size);
// size bytes from the system's random source.
bool SystemRandomBytes(uint8_t* out, size_t size);

// Whether password (UTF-8) derives to the digest's hash with its salt and
// count; the derived hash is wiped. The lock's check.
bool PasswordMatchesDigest(const char* password, const PasswordDigest& digest);
// A new digest of password (UTF-8): a fresh salt, DIGEST_ITERATIONS.
bool MakeDigest(const char* password, PasswordDigest& digest);
// Whether this Windows can derive at all (bcrypt.dll and its PBKDF2 are there).
bool CanDerive();
