// A keystroke-library port that records every call in order, with a US keyboard
// layout for VkKeyScanA and a made-up but fixed scan code for every key.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct PortCall {
  enum Kind { Keybd, MapKey, VkScan, Pump, Sleep, Beep, Version, KeyState, GetState, SetState, Activate };
  Kind kind;
  uint32_t a, b, c;
  std::string text;
};

namespace recorder {

extern std::vector<PortCall> calls;
extern uint32_t version;       // what GetVersion answers
extern int16_t numLockState;   // what GetKeyState(VK_NUMLOCK) answers
extern uint8_t keyboard[256];  // the state Get/SetKeyboardState read and write
extern bool down[256];         // keys down, as the keyboard events left them
extern bool refuseKeys;        // every key event refused, as Windows does when it holds the keyboard

// Forgets the calls and the key state, and resets the library's own state.
void Reset();
uint8_t ScanOf(uint8_t vk);
uint16_t UsLayoutKeyScan(char ch);

// The effects in order, space-separated: key events by key name, "↓" pressed
// and "↑" released, "e" when the extended-key flag is set ("Ctrl↓ Enter↓
// Enter↑e Ctrl↑"); "sleep N", "beep F,D", "pump", "activate 'T'", "setstate NN"
// (the Num Lock byte).
std::string Trace();
// A virtual key's name as traces show it ("Enter", "A", "F5", "Num7"; else "0x..").
std::string KeyName(uint8_t vk);
// Number of key events whose scan code is not the one the lookup gave.
int WrongScanCodes();
int KeyEvents();
// Prefix modifiers (Shift, Control, Alt, left Windows) still down.
std::string ModifiersDown();

}  // namespace recorder
