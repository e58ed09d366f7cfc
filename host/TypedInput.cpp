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

// A character beyond ASCII, typed as a Unicode keystroke.
void TypeUnicode(const std::string& text, size_t& i) {
  size_t length = 1;
  while (i + length < text.size() && (static_cast<unsigned char>(text[i + length]) & 0xC0) == 0x80) ++length;
  WCHAR units[2];
  int count = MultiByteToWideChar(CP_UTF8, 0, text.data() + i, static_cast<int>(length), units, 2);
  i += length - 1;
  for (int k = 0; k < count; ++k) {
    INPUT in[2] = {};
    for (int up = 0; up < 2; ++up) {
      in[up].type = INPUT_KEYBOARD;
      in[up].ki.wScan = units[k];
      in[up].ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
    }
    SendInput(2, in, sizeof in[0]);
  }
}

}  // namespace

void TypeText(const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (static_cast<unsigned char>(c) >= 0xC0) {
      TypeUnicode(text, i);
      continue;
    }
    SHORT code = VkKeyScanA(c);
    if (code == -1) continue;
    bool shift = (code & 0x100) != 0;
    if (shift) Input(VK_SHIFT, false);
    TypeKey(LOBYTE(code));
    if (shift) Input(VK_SHIFT, true);
  }
}

void TypeKey(WORD vk) {
  Input(vk, false);
  Input(vk, true);
}

void TypeKeyWith(WORD modifier, WORD vk) {
  Input(modifier, false);
  TypeKey(vk);
  Input(modifier, true);
}

void TurnWheel() {
  INPUT in = {};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = MOUSEEVENTF_WHEEL;
  in.mi.mouseData = static_cast<DWORD>(-WHEEL_DELTA);  // one notch towards the user: scrolling down
  SendInput(1, &in, sizeof in);
}
