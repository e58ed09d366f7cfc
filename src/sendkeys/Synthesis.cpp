// Keyboard event synthesis: key codes to keybd_event calls, with modifiers,
// the extended-key flag, delays and the Num Lock path.
#include "KeyPort.h"
#include "SendKeys.h"

namespace {

const uint8_t VK_SHIFT_KEY = 0x10;
const uint8_t VK_CONTROL_KEY = 0x11;
const uint8_t VK_MENU_KEY = 0x12;
const uint8_t VK_NUMLOCK_KEY = 0x90;
const uint8_t NUMLOCK_SCAN = 0x45;

void NumLock(uint16_t count, int delay) {
  uint32_t version = PortGetVersion();
  bool ntFamily = (version & 0x80000000u) == 0;
  uint32_t minor = (version >> 8) & 0xFF;
  for (uint32_t i = 0; i < count; ++i) {
    if (delay) CarryDelay();
    if (ntFamily) {
      // Straight to the platform: no message dispatch after these two.
      PortKeybdEvent(VK_NUMLOCK_KEY, NUMLOCK_SCAN, KEYFLAG_EXTENDED);
      PortKeybdEvent(VK_NUMLOCK_KEY, NUMLOCK_SCAN, KEYFLAG_EXTENDED | KEYFLAG_UP);
    } else if (minor < 10) {
      // Windows 95 ignores synthesized Num Lock; flip the toggle bit instead.
      bool toggled = (PortGetKeyState(VK_NUMLOCK_KEY) & 1) != 0;
      uint8_t state[256];
      PortGetKeyboardState(state);
      if (toggled)
        state[VK_NUMLOCK_KEY] &= static_cast<uint8_t>(~1u);
      else
        state[VK_NUMLOCK_KEY] |= 1;
      PortSetKeyboardState(state);
    }
  }
}

}  // namespace

const uint8_t ExtendedVKeys[EXTENDED_VKEY_COUNT] = {0x26, 0x28, 0x25, 0x27, 0x24,
                                                    0x23, 0x21, 0x22, 0x2D, 0x2E};

void KeyboardEvent(uint8_t vk, uint8_t scan, uint32_t flags) {
  PortKeybdEvent(vk, scan, flags);
  if (m_bWait) PortPumpKeyboardMessages();
}

int IsVkExtended(uint8_t vk) {
  for (int i = 0; i < EXTENDED_VKEY_COUNT; ++i)
    if (ExtendedVKeys[i] == vk) return 1;
  return 0;
}

void SendKeyUp(uint8_t vk) {
  uint8_t scan = PortMapVirtualKey(vk);
  KeyboardEvent(vk, scan, KEYFLAG_UP | (IsVkExtended(vk) ? KEYFLAG_EXTENDED : 0));
}

void SendKeyDown2(uint8_t vk, uint16_t count, int release, int delay) {
  if (vk == VK_NUMLOCK_KEY) {
    NumLock(count, delay);
    return;
  }
  uint8_t scan = PortMapVirtualKey(vk);
  uint32_t pressFlags = IsVkExtended(vk) ? KEYFLAG_EXTENDED : 0;
  for (uint32_t i = 0; i < count; ++i) {
    if (delay) CarryDelay();
    KeyboardEvent(vk, scan, pressFlags);
    if (release) KeyboardEvent(vk, scan, KEYFLAG_EXTENDED | KEYFLAG_UP);
  }
}

void SendKeyDown(uint8_t vk, uint16_t count, int release) {
  SendKeyDown2(vk, count, release, 0);
}

int BitSet(uint8_t value, unsigned int mask) { return (value & mask) != 0 ? 1 : 0; }

void SendKey(uint16_t keycode, uint16_t count, int release) {
  uint8_t shift = static_cast<uint8_t>(keycode >> 8);
  int withShift = BitSet(shift, VKKEYSCANSHIFTON);
  int withControl = BitSet(shift, VKKEYSCANCTRLON);
  int withAlt = BitSet(shift, VKKEYSCANALTON);
  if (withShift) SendKeyDown(VK_SHIFT_KEY, 1, 0);
  if (withControl) SendKeyDown(VK_CONTROL_KEY, 1, 0);
  if (withAlt) SendKeyDown(VK_MENU_KEY, 1, 0);
  SendKeyDown2(static_cast<uint8_t>(keycode & 0xFF), count, release, 1);
  if (withShift) SendKeyUp(VK_SHIFT_KEY);
  if (withControl) SendKeyUp(VK_CONTROL_KEY);
  if (withAlt) SendKeyUp(VK_MENU_KEY);
}

void CarryDelay() {
  if (m_nDelayNow == 0) m_nDelayNow = m_nDelayAlways;
  if (m_nDelayNow != 0) PortSleep(m_nDelayNow);
  m_nDelayNow = 0;
}
