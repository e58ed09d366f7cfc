// The keystroke library's port, wired straight to user32 and kernel32.
#include <windows.h>

#include "portable/keys/KeyPort.h"
#include "portable/keys/SendKeys.h"
#include "win32/KeyPressCount.h"
#include "win32/MessagePump.h"
#include "win32/WindowActivation.h"

void PortKeybdEvent(uint8_t vk, uint8_t scan, uint32_t flags) {
  if (!(flags & KEYEVENTF_KEYUP)) ExpectOwnKeyPress();
  keybd_event(vk, scan, flags, 0);
}

uint8_t PortMapVirtualKey(uint8_t vk) { return static_cast<uint8_t>(MapVirtualKeyA(vk, 0)); }

uint16_t PortVkKeyScan(char ch) { return static_cast<uint16_t>(VkKeyScanA(ch)); }

void PortPumpKeyboardMessages() { DispatchKeyboardMessages(); }

void PortSleep(uint32_t ms) { Sleep(ms); }

void PortBeep(uint32_t frequency, uint32_t ms) { Beep(frequency, ms); }

uint32_t PortGetVersion() { return GetVersion(); }

int16_t PortGetKeyState(int vk) { return GetKeyState(vk); }

void PortGetKeyboardState(uint8_t* state256) { GetKeyboardState(state256); }

void PortSetKeyboardState(uint8_t* state256) { SetKeyboardState(state256); }

int PortBringTitledWindowToFront(const char* title) { return BringTitledWindowToFront(title); }
