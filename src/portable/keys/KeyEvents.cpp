// Keyboard event synthesis: key codes to keybd_event calls, with modifiers,
// the extended-key flag, delays and the Num Lock path.
#include "portable/keys/KeyPort.h"
#include "portable/keys/SendKeys.h"

namespace {

const uint8_t VK_NUMLOCK_KEY = 0x90;
const uint8_t NUMLOCK_SCAN = 0x45;

void CountRefusal(bool taken) {
  if (!taken) ++CurrentKeySequenceState().eventsRefused;
}

void NumLock(uint16_t count, int delay) {
  uint32_t version = PortGetVersion();
  bool ntFamily = (version & 0x80000000u) == 0;
  uint32_t minor = (version >> 8) & 0xFF;
  for (uint32_t i = 0; i < count; ++i) {
    if (delay) WaitKeyDelay();
    if (ntFamily) {
      // Straight to the platform: no message dispatch after these two.
      CountRefusal(PortKeybdEvent(VK_NUMLOCK_KEY, NUMLOCK_SCAN, KEYFLAG_EXTENDED));
      CountRefusal(PortKeybdEvent(VK_NUMLOCK_KEY, NUMLOCK_SCAN, KEYFLAG_EXTENDED | KEYFLAG_UP));
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

const uint8_t EXTENDED_KEYS[EXTENDED_KEY_COUNT] = {0x26, 0x28, 0x25, 0x27, 0x24, 0x23, 0x21, 0x22, 0x2D, 0x2E};

void SendKeyboardEvent(uint8_t vk, uint8_t scan, uint32_t flags) {
  CountRefusal(PortKeybdEvent(vk, scan, flags));
  if (CurrentKeySequenceState().pumpEachEvent) PortPumpKeyboardMessages();
}

bool IsExtendedKey(uint8_t vk) {
  for (int i = 0; i < EXTENDED_KEY_COUNT; ++i)
    if (EXTENDED_KEYS[i] == vk) return true;
  return false;
}

void ReleaseKey(uint8_t vk) {
  uint8_t scan = PortMapVirtualKey(vk);
  SendKeyboardEvent(vk, scan, KEYFLAG_UP | (IsExtendedKey(vk) ? KEYFLAG_EXTENDED : 0));
}

void PressKeyAfterDelay(uint8_t vk, uint16_t count, int release, int delay) {
  if (vk == VK_NUMLOCK_KEY) {
    NumLock(count, delay);
    return;
  }
  uint8_t scan = PortMapVirtualKey(vk);
  uint32_t pressFlags = IsExtendedKey(vk) ? KEYFLAG_EXTENDED : 0;
  for (uint32_t i = 0; i < count; ++i) {
    if (delay) WaitKeyDelay();
    SendKeyboardEvent(vk, scan, pressFlags);
    // The release carries the extended flag for every key, as hosts have always
    // received it; Windows keeps key state by virtual key, so it ends the press
    // all the same.
    if (release) SendKeyboardEvent(vk, scan, KEYFLAG_EXTENDED | KEYFLAG_UP);
  }
}

void PressKey(uint8_t vk, uint16_t count, int release) { PressKeyAfterDelay(vk, count, release, 0); }

bool HasBit(uint8_t value, unsigned int mask) { return (value & mask) != 0; }

void TypeKeyCode(uint16_t keycode, uint16_t count, int release) {
  uint8_t shift = static_cast<uint8_t>(keycode >> 8);
  bool withShift = HasBit(shift, KEYCODE_SHIFT);
  bool withControl = HasBit(shift, KEYCODE_CONTROL);
  bool withAlt = HasBit(shift, KEYCODE_ALT);
  if (withShift) PressKey(VK_SHIFT_KEY, 1, 0);
  if (withControl) PressKey(VK_CONTROL_KEY, 1, 0);
  if (withAlt) PressKey(VK_MENU_KEY, 1, 0);
  PressKeyAfterDelay(static_cast<uint8_t>(keycode & 0xFF), count, release, 1);
  if (withShift) ReleaseKey(VK_SHIFT_KEY);
  if (withControl) ReleaseKey(VK_CONTROL_KEY);
  if (withAlt) ReleaseKey(VK_MENU_KEY);
}

void WaitKeyDelay() {
  if (CurrentKeySequenceState().delayNextKeyMs == 0)
    CurrentKeySequenceState().delayNextKeyMs = CurrentKeySequenceState().delayEveryKeyMs;
  if (CurrentKeySequenceState().delayNextKeyMs != 0) PortSleep(CurrentKeySequenceState().delayNextKeyMs);
  CurrentKeySequenceState().delayNextKeyMs = 0;
}
