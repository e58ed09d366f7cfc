#include "RecordingKeyPort.h"

#include <cstdio>
#include <cstring>

#include "portable/keys/KeyPort.h"
#include "portable/keys/SendKeys.h"

namespace recorder {

std::vector<PortCall> calls;
uint32_t version = 0x0A280105;  // an NT-family version
int16_t numLockState = 0;
uint8_t keyboard[256];
bool down[256];
bool refuseKeys;

void Reset() {
  calls.clear();
  std::memset(keyboard, 0, sizeof keyboard);
  std::memset(down, 0, sizeof down);
  version = 0x0A280105;
  numLockState = 0;
  refuseKeys = false;
  ResetKeySequenceState();
}

uint8_t ScanOf(uint8_t vk) { return static_cast<uint8_t>(vk ^ 0xA5); }

uint16_t UsLayoutKeyScan(char ch) {
  unsigned char c = static_cast<unsigned char>(ch);
  if (c >= 'a' && c <= 'z') return static_cast<uint16_t>(c - 'a' + 'A');
  if (c >= 'A' && c <= 'Z') return static_cast<uint16_t>(0x100 | c);
  if (c >= '0' && c <= '9') return c;
  static const char shiftedDigits[] = ")!@#$%^&*(";
  if (c && std::strchr(shiftedDigits, c))
    return static_cast<uint16_t>(0x100 | ('0' + (std::strchr(shiftedDigits, c) - shiftedDigits)));
  struct Pair {
    char plain, shifted;
    uint8_t vk;
  };
  static const Pair punctuation[] = {{';', ':', 0xBA},  {'=', '+', 0xBB}, {',', '<', 0xBC}, {'-', '_', 0xBD},
                                     {'.', '>', 0xBE},  {'/', '?', 0xBF}, {'`', '~', 0xC0}, {'[', '{', 0xDB},
                                     {'\\', '|', 0xDC}, {']', '}', 0xDD}, {'\'', '"', 0xDE}};
  for (const Pair& p : punctuation) {
    if (c == static_cast<unsigned char>(p.plain)) return p.vk;
    if (c == static_cast<unsigned char>(p.shifted)) return static_cast<uint16_t>(0x100 | p.vk);
  }
  switch (c) {
    case ' ':
      return 0x20;
    case '\t':
      return 0x09;
    case '\r':
      return 0x0D;
    case '\n':
      return 0x20D;
    case '\b':
      return 0x08;
    case 0x1B:
      return 0x1B;
    default:
      return NO_KEY;
  }
}

std::string KeyName(uint8_t vk) {
  static const struct {
    uint8_t vk;
    const char* name;
  } SPECIAL[] = {
      {0x03, "Cancel"}, {0x08, "Backspace"}, {0x09, "Tab"},          {0x0C, "Clear"},       {0x0D, "Enter"},
      {0x10, "Shift"},  {0x11, "Ctrl"},      {0x12, "Alt"},          {0x13, "Pause"},       {0x14, "CapsLock"},
      {0x1B, "Esc"},    {0x20, "Space"},     {0x21, "PageUp"},       {0x22, "PageDown"},    {0x23, "End"},
      {0x24, "Home"},   {0x25, "Left"},      {0x26, "Up"},           {0x27, "Right"},       {0x28, "Down"},
      {0x29, "Select"}, {0x2A, "Print"},     {0x2B, "Execute"},      {0x2C, "PrintScreen"}, {0x2D, "Insert"},
      {0x2E, "Delete"}, {0x2F, "Help"},      {0x5B, "LeftWin"},      {0x5C, "RightWin"},    {0x5D, "Apps"},
      {0x6A, "Num*"},   {0x6B, "Num+"},      {0x6C, "NumSeparator"}, {0x6D, "Num-"},        {0x6E, "Num."},
      {0x6F, "Num/"},   {0x90, "NumLock"},   {0x91, "ScrollLock"},
  };
  if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return std::string(1, static_cast<char>(vk));
  if (vk >= 0x60 && vk <= 0x69) return "Num" + std::to_string(vk - 0x60);
  if (vk >= 0x70 && vk <= 0x87) return "F" + std::to_string(vk - 0x6F);
  for (const auto& s : SPECIAL)
    if (s.vk == vk) return s.name;
  char hex[8];
  std::snprintf(hex, sizeof hex, "0x%02X", vk);
  return hex;
}

std::string Trace() {
  std::string out;
  char item[400];
  for (const PortCall& call : calls) {
    switch (call.kind) {
      case PortCall::Keybd:
        // "Enter↓" a press, "Enter↑" a release; "e" marks the extended-key flag.
        std::snprintf(item, sizeof item, "%s%s%s", KeyName(static_cast<uint8_t>(call.a)).c_str(),
                      (call.c & 2) ? "\u2191" : "\u2193", (call.c & 1) ? "e" : "");
        break;
      case PortCall::Pump:
        std::snprintf(item, sizeof item, "pump");
        break;
      case PortCall::Sleep:
        std::snprintf(item, sizeof item, "sleep %u", call.a);
        break;
      case PortCall::Beep:
        std::snprintf(item, sizeof item, "beep %u,%u", call.a, call.b);
        break;
      case PortCall::SetState:
        std::snprintf(item, sizeof item, "setstate %02X", call.a);
        break;
      case PortCall::Activate:
        std::snprintf(item, sizeof item, "activate '%s'", call.text.c_str());
        break;
      default:
        continue;
    }
    if (!out.empty()) out += ' ';
    out += item;
  }
  return out;
}

int WrongScanCodes() {
  int wrong = 0;
  for (const PortCall& call : calls) {
    if (call.kind != PortCall::Keybd) continue;
    uint8_t expected = call.a == 0x90 ? 0x45 : ScanOf(static_cast<uint8_t>(call.a));
    if (call.b != expected) ++wrong;
  }
  return wrong;
}

int KeyEvents() {
  int count = 0;
  for (const PortCall& call : calls) count += call.kind == PortCall::Keybd;
  return count;
}

std::string ModifiersDown() {
  std::string out;
  const uint8_t modifiers[] = {0x10, 0x11, 0x12, 0x5B};
  char item[8];
  for (uint8_t vk : modifiers)
    if (down[vk]) {
      std::snprintf(item, sizeof item, "%02X ", vk);
      out += item;
    }
  return out;
}

}  // namespace recorder

using namespace recorder;

bool PortKeybdEvent(uint8_t vk, uint8_t scan, uint32_t flags) {
  calls.push_back({PortCall::Keybd, vk, scan, flags, {}});
  if (refuseKeys) return false;
  down[vk] = (flags & KEYFLAG_UP) == 0;
  return true;
}

uint8_t PortMapVirtualKey(uint8_t vk) {
  calls.push_back({PortCall::MapKey, vk, 0, 0, {}});
  return ScanOf(vk);
}

uint16_t PortVkKeyScan(char ch) {
  calls.push_back({PortCall::VkScan, static_cast<unsigned char>(ch), 0, 0, {}});
  return UsLayoutKeyScan(ch);
}

void PortPumpKeyboardMessages() { calls.push_back({PortCall::Pump, 0, 0, 0, {}}); }
void PortSleep(uint32_t ms) { calls.push_back({PortCall::Sleep, ms, 0, 0, {}}); }
void PortBeep(uint32_t frequency, uint32_t ms) { calls.push_back({PortCall::Beep, frequency, ms, 0, {}}); }

uint32_t PortGetVersion() {
  calls.push_back({PortCall::Version, 0, 0, 0, {}});
  return version;
}

int16_t PortGetKeyState(int vk) {
  calls.push_back({PortCall::KeyState, static_cast<uint32_t>(vk), 0, 0, {}});
  return numLockState;
}

void PortGetKeyboardState(uint8_t* state256) {
  calls.push_back({PortCall::GetState, 0, 0, 0, {}});
  std::memcpy(state256, keyboard, 256);
}

void PortSetKeyboardState(uint8_t* state256) {
  calls.push_back({PortCall::SetState, state256[0x90], 0, 0, {}});
  std::memcpy(keyboard, state256, 256);
}

int PortBringTitledWindowToFront(const char* title) {
  calls.push_back({PortCall::Activate, 0, 0, 0, title});
  return 1;
}
