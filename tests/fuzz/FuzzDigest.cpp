// libFuzzer target: the reader of a password digest's text. Whatever it takes
// must be a digest the plug-in can use (its count within the range) and must be
// exactly the text the plug-in writes for it: one spelling, nothing ignored.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "portable/engine/PasswordDigest.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);  // up to the first NUL, as the functions read it
  PasswordDigest digest;
  std::memset(&digest, 0xA5, sizeof digest);
  PasswordDigest before = digest;
  if (!ParseDigest(text.c_str(), digest)) {
    if (std::memcmp(&digest, &before, sizeof digest) != 0) std::abort();  // refused, yet changed
    return 0;
  }
  if (digest.iterations < FEWEST_DIGEST_ITERATIONS || digest.iterations > MOST_DIGEST_ITERATIONS) std::abort();
  char written[DIGEST_TEXT_SIZE];
  FormatDigest(digest, written);
  if (std::strcmp(written, text.c_str()) != 0) std::abort();
  return 0;
}
