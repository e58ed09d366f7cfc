// The keystroke library's port, wired straight to user32 and kernel32.
#include <windows.h>

#include "portable/keys/KeyPort.h"
#include "portable/keys/SendKeys.h"
#include "win32/commit/WindowActivation.h"
#include "win32/input/InputDates.h"
#include "win32/input/OwnKeys.h"
#include "win32/system/MessagePump.h"

namespace {

// SendInput came with Windows 98 and NT 4.0 SP3: looked up, keybd_event
// without it. Unlike keybd_event it says whether Windows took the key.
typedef UINT(WINAPI* SendInputFunction)(UINT, LPINPUT, int);

SendInputFunction InputSender() {
  return reinterpret_cast<SendInputFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "SendInput")));
}

}  // namespace

bool PortKeybdEvent(uint8_t vk, uint8_t scan, uint32_t flags) {
  NoteOwnKeyComing();
  bool taken = true;
  if (SendInputFunction send = InputSender()) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = scan;
    input.ki.dwFlags = flags;
    taken = send(1, &input, sizeof input) == 1;
  } else {
    keybd_event(vk, scan, flags, 0);
  }
  if (taken) ExpectOwnKeyEvent(vk, (flags & KEYEVENTF_KEYUP) != 0);
  return taken;
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
