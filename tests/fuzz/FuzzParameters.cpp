// libFuzzer target: the parameter path of every function. The first byte picks
// the function and whether the host's resize fails; the rest is the parameter.
// Replies must be one of the plug-in's texts, written only when the host let
// the handle grow, and a refused parameter must change nothing.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "portable/text/MacRomanText.h"
#include "portable/text/HostText.h"
#include "portable/text/ParameterRules.h"

namespace {

struct Handle {
  unsigned char* bytes;
  int32_t size;
};
bool g_fail;
int16_t g_status;

void Resize(FMHandle h, int32_t size) {
  Handle* handle = reinterpret_cast<Handle*>(h);
  if (g_fail || size < 0) {
    g_status = 1;
    return;
  }
  handle->bytes = static_cast<unsigned char*>(std::realloc(handle->bytes, size ? size : 1));
  handle->size = size;
  g_status = 0;
}
int32_t Size(FMHandle h) { return reinterpret_cast<Handle*>(h)->size; }
int16_t Status() { return g_status; }
const HostCallbacks kHost = {Resize, Size, Status};

char g_password[255] = "before";
int32_t g_limit = 77;
int g_switch = 1;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  int function = data[0] % 6 + 1;
  g_fail = (data[0] & 0x80) != 0;
  Handle param = {static_cast<unsigned char*>(std::malloc(size)), static_cast<int32_t>(size - 1)};
  std::memcpy(param.bytes, data + 1, size - 1);
  Handle result = {static_cast<unsigned char*>(std::malloc(4)), 4};
  std::memcpy(result.bytes, "none", 4);
  FMHandle p = &param.bytes, r = &result.bytes;
  bool readable = param.size <= 254;

  char before[255];
  std::memcpy(before, g_password, sizeof before);
  int32_t limitBefore = g_limit;
  switch (function) {
    case 1:
      if (ReadPassword(kHost, p, g_password)) WriteReply(kHost, r, "0");
      if (!readable && std::memcmp(before, g_password, sizeof before) != 0) std::abort();
      if (std::strlen(g_password) > 254) std::abort();
      break;
    case 2:
    case 3:
      if (ReadLimit(kHost, p, g_limit) && g_limit >= 1) WriteReply(kHost, r, "0");
      if (!readable && g_limit != limitBefore) std::abort();
      if (g_limit > MAX_LIMIT_SECONDS) std::abort();
      break;
    case 4:
    case 5: {
      int value = ReadSwitch(kHost, p);
      if (value >= 0) g_switch = value;
      if (value == SWITCH_BAD_LENGTH && param.size >= 1 && param.size <= 254) std::abort();
      break;
    }
    default:
      WriteReply(kHost, r, "Lullex v1.91");
      break;
  }
  if (function != 6) ReplyIfBadLength(kHost, p, r);

  std::string reply(reinterpret_cast<char*>(result.bytes), result.size);
  if (reply != "none" && reply != "0" && reply != "$$001$$" && reply != "Lullex v1.91") std::abort();
  if (g_fail && reply != "none") std::abort();
  if (!g_fail && !readable && function != 6 && reply != "$$001$$") std::abort();
  std::free(param.bytes);
  std::free(result.bytes);
  return 0;
}
