#include "TypedInput.h"

namespace {

void Input(WORD vk, bool up) {
  INPUT in = {};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, 0));
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &in, sizeof in);
}

}  // namespace

void TypeText(const std::string& text) {
  for (char c : text) {
    SHORT code = VkKeyScanA(c);
    if (code == -1) continue;
    bool shift = (code & 0x100) != 0;
    if (shift) Input(VK_SHIFT, false);
    PressKey(LOBYTE(code));
    if (shift) Input(VK_SHIFT, true);
  }
}

void PressKey(WORD vk) {
  Input(vk, false);
  Input(vk, true);
}

void PressKeyWith(WORD modifier, WORD vk) {
  Input(modifier, false);
  PressKey(vk);
  Input(modifier, true);
}
