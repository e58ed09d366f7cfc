#include "win32/system/SystemCrypto.h"

#include <windows.h>

#include <cstring>

#include "win32/system/SystemLibrary.h"

namespace {

typedef LONG(WINAPI* OpenAlgorithmProvider)(void** algorithm, const wchar_t* id, const wchar_t* implementation,
                                            ULONG flags);
typedef LONG(WINAPI* CloseAlgorithmProvider)(void* algorithm, ULONG flags);
typedef LONG(WINAPI* DeriveKeyPbkdf2)(void* prf, UCHAR* password, ULONG passwordSize, UCHAR* salt, ULONG saltSize,
                                      ULONGLONG iterations, UCHAR* key, ULONG keySize, ULONG flags);
typedef LONG(WINAPI* GenRandom)(void* algorithm, UCHAR* buffer, ULONG size, ULONG flags);

const ULONG HMAC_FLAG = 0x00000008;             // BCRYPT_ALG_HANDLE_HMAC_FLAG
const ULONG SYSTEM_PREFERRED_RNG = 0x00000002;  // BCRYPT_USE_SYSTEM_PREFERRED_RNG
const wchar_t SHA256_ALGORITHM[] = L"SHA256";

// bcrypt.dll stays loaded once found: it is a system library, and the host
// process lives longer than any one call.
HMODULE g_bcrypt;

HMODULE Bcrypt() {
  if (!g_bcrypt) g_bcrypt = LoadSystemLibrary(L"bcrypt.dll");
  return g_bcrypt;
}

template <typename Function>
Function Find(const char* name) {
  HMODULE module = Bcrypt();
  return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

}  // namespace

bool DerivePbkdf2Sha256(const void* password, size_t length, const uint8_t* salt, size_t saltSize, uint32_t iterations,
                        uint8_t* out, size_t size) {
  OpenAlgorithmProvider open = Find<OpenAlgorithmProvider>("BCryptOpenAlgorithmProvider");
  CloseAlgorithmProvider close = Find<CloseAlgorithmProvider>("BCryptCloseAlgorithmProvider");
  DeriveKeyPbkdf2 derive = Find<DeriveKeyPbkdf2>("BCryptDeriveKeyPBKDF2");
  if (!open || !close || !derive) return false;
  void* hmac = nullptr;
  if (open(&hmac, SHA256_ALGORITHM, nullptr, HMAC_FLAG) != 0) return false;
  // bcrypt reads these but takes them as writable.
  LONG status =
      derive(hmac, static_cast<UCHAR*>(const_cast<void*>(password)), static_cast<ULONG>(length),
             const_cast<UCHAR*>(salt), static_cast<ULONG>(saltSize), iterations, out, static_cast<ULONG>(size), 0);
  close(hmac, 0);
  return status == 0;
}

namespace {

// The hash of password (UTF-8) with the digest's salt and count.
bool DeriveWithDigestSalt(const char* password, const PasswordDigest& digest, uint8_t* hash) {
  return DerivePbkdf2Sha256(password, std::strlen(password), digest.salt, DIGEST_SALT_SIZE, digest.iterations, hash,
                            DIGEST_HASH_SIZE);
}

}  // namespace

bool PasswordMatchesDigest(const char* password, const PasswordDigest& digest) {
  uint8_t hash[DIGEST_HASH_SIZE];
  bool matches = DeriveWithDigestSalt(password, digest, hash) && SameHash(hash, digest.hash);
  SecureZeroMemory(hash, sizeof hash);
  return matches;
}

bool MakeDigest(const char* password, PasswordDigest& digest) {
  digest.iterations = DIGEST_ITERATIONS;
  return SystemRandomBytes(digest.salt, DIGEST_SALT_SIZE) && DeriveWithDigestSalt(password, digest, digest.hash);
}

bool CanDerive() {
  const uint8_t salt[DIGEST_SALT_SIZE] = {};
  uint8_t hash[DIGEST_HASH_SIZE];
  return DerivePbkdf2Sha256("", 0, salt, sizeof salt, 1, hash, sizeof hash);
}

bool SystemRandomBytes(uint8_t* out, size_t size) {
  GenRandom random = Find<GenRandom>("BCryptGenRandom");
  return random && random(nullptr, out, static_cast<ULONG>(size), SYSTEM_PREFERRED_RNG) == 0;
}
