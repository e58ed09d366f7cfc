// libFuzzer target: any key sequence through the parser and synthesis, with
// the recording port. A finished call must leave no prefix modifier down; the
// address sanitizer watches the brace buffer.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "RecordingKeyPort.h"
#include "portable/keys/SendKeys.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  int wait = data[0] & 1;
  std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  recorder::Reset();
  recorder::version = (data[0] & 2) ? 0xC0000004u : 0x0A280105u;
  int result = SendKeys(text.c_str(), wait);
  if (result != 0 && result != 1) std::abort();
  if (!recorder::ModifiersDown().empty()) std::abort();
  const KeySequenceState& k = CurrentKeySequenceState();
  if (k.shiftHeld || k.controlHeld || k.altHeld || k.windowsHeld || k.inGroup) std::abort();
  if (recorder::WrongScanCodes() != 0) std::abort();
  if (k.delayEveryKeyMs > 10000 || k.delayNextKeyMs > 10000) std::abort();
  for (const PortCall& call : recorder::calls) {
    if (call.kind == PortCall::Sleep && call.a > 10000) std::abort();
    if (call.kind == PortCall::Beep && (call.a < 37 || call.a > 32767 || call.b > 10000)) std::abort();
  }
  return 0;
}
