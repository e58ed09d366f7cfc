// libFuzzer target: FileMaker Pro 5 and 6's parameter path. The first byte
// picks whether the host's resize fails; the rest is the parameter handle's
// bytes. The text read must be within its limits and refused exactly when the
// handle is too long; a reply is written only when the host let it grow.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "HostHandles.h"
#include "portable/classic/HostText.h"

namespace {

const HostCallbacks kHost = FakeHostCallbacks();

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  bool fail = (data[0] & 0x80) != 0;
  SetFakeResizeFails(fail);
  FakeHandle param(std::string(reinterpret_cast<const char*>(data + 1), size - 1));
  FakeHandle result("none");
  char text[PARAMETER_TEXT_SIZE];
  std::memset(text, 'k', sizeof text);
  ParameterText p = ReadClassicParameter(kHost, param.Handle(), text);

  if (p.readable != (param.size <= MAX_PARAMETER_LENGTH)) std::abort();
  if (p.empty != (param.size == 0)) std::abort();
  if (!p.readable && (p.text[0] != '\0' || text[0] != 'k')) std::abort();  // the buffer untouched
  if (std::strlen(p.text) > static_cast<size_t>(MAX_PARAMETER_LENGTH)) std::abort();
  if (ParseLimit(p.text) > MAX_LIMIT_SECONDS) std::abort();
  int value = ReadSwitch(p);
  if ((value == SWITCH_BAD_LENGTH) == ParameterLengthIsGood(p)) std::abort();

  WriteReply(kHost, result.Handle(), ParameterLengthIsGood(p) ? REPLY_TAKEN : REPLY_BAD_LENGTH);
  std::string reply = result.Content();
  if (fail && reply != "none") std::abort();
  if (!fail && reply != (ParameterLengthIsGood(p) ? "0" : "$$001$$")) std::abort();
  return 0;
}
