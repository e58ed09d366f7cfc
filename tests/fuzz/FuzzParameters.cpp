// libFuzzer target: the parameter path of every function. The first byte picks
// the function and whether the host's resize fails; the rest is the parameter.
// Replies must be one of the plug-in's texts, written only when the host let
// the handle grow, and a refused parameter must change nothing.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "HostHandles.h"
#include "portable/text/HostText.h"
#include "portable/text/MacRomanText.h"
#include "portable/text/ParameterRules.h"

namespace {

const HostCallbacks kHost = FakeHostCallbacks();

char g_password[255] = "before";
int32_t g_limit = 77;
int g_switch = 1;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  int function = data[0] % 6 + 1;
  bool fail = (data[0] & 0x80) != 0;
  SetFakeResizeFails(fail);
  FakeHandle param(std::string(reinterpret_cast<const char*>(data + 1), size - 1));
  FakeHandle result("none");
  FMHandle p = param.Handle(), r = result.Handle();
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

  std::string reply = result.Content();
  if (reply != "none" && reply != "0" && reply != "$$001$$" && reply != "Lullex v1.91") std::abort();
  if (fail && reply != "none") std::abort();
  if (!fail && !readable && function != 6 && reply != "$$001$$") std::abort();
  return 0;
}
