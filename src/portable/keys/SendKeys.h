// Keystroke library: turns key-sequence strings into synthesized key presses
// and brings windows to the front. The parser and the event synthesis reach the
// system only through KeyPort.h, so they build and run without <windows.h>.
#pragma once

#include <cstdint>

// Key code: virtual key in the low byte, VkKeyScanA shift bits in the high byte.
const uint16_t KEYCODE_SHIFT = 0x0001;
const uint16_t KEYCODE_CONTROL = 0x0002;
const uint16_t KEYCODE_ALT = 0x0004;
const uint16_t NO_KEY = 0xFFFF;

// Virtual keys the library presses by itself (Windows' VK_ codes, which this
// layer may not include).
const uint8_t VK_SHIFT_KEY = 0x10;
const uint8_t VK_CONTROL_KEY = 0x11;
const uint8_t VK_MENU_KEY = 0x12;  // Alt
const uint8_t VK_LEFT_WINDOWS_KEY = 0x5B;
const uint8_t VK_ENTER_KEY = 0x0D;

// keybd_event flags.
const uint32_t KEYFLAG_EXTENDED = 0x0001;
const uint32_t KEYFLAG_UP = 0x0002;

// Largest repeat count of a key and longest single delay or beep, so that no
// key sequence can hang the caller.
const int MAX_KEY_COUNT = 65535;
const int MAX_DELAY_MS = 10000;
const int MIN_BEEP_HZ = 37;
const int MAX_BEEP_HZ = 32767;

struct KeyName {
  const char* name;
  uint8_t vkey;
  bool isCharacter;  // vkey is a character, sent as VkKeyScanA gives it
};

const int KEY_NAME_COUNT = 71;
extern const KeyName KEY_NAMES[KEY_NAME_COUNT];

const int EXTENDED_KEY_COUNT = 10;
extern const uint8_t EXTENDED_KEYS[EXTENDED_KEY_COUNT];

// What a key sequence has pressed and asked for so far; lives as long as the
// library is loaded.
struct KeySequenceState {
  // Prefix modifiers down.
  bool shiftHeld, controlHeld, altHeld, windowsHeld;
  bool inGroup;              // inside "(...)": prefixes hold until ")"
  bool pumpEachEvent;        // the caller's wait flag: dispatch key messages after each event
  uint32_t delayEveryKeyMs;  // {DELAY=N}
  uint32_t delayNextKeyMs;   // {DELAY N}
  uint32_t eventsRefused;    // key events Windows refused: a caller compares before and after
};
// The library's one state, kept by the key-sequence parser; synthesis reads the
// wait flag and the delays from it.
KeySequenceState& CurrentKeySequenceState();
// Back to the state of a freshly loaded library: nothing held, no delays.
void ResetKeySequenceState();

// Key-sequence language. Returns 1 when the whole text was processed, 0 when a
// brace group of 300 bytes or more stopped it.
int SendKeys(const char* text, int wait);
uint16_t FindKeyName(const char* name, int& index);
void ReleasePrefixModifiers();

// Event synthesis.
void SendKeyboardEvent(uint8_t vk, uint8_t scan, uint32_t flags);
bool IsExtendedKey(uint8_t vk);
void ReleaseKey(uint8_t vk);
void PressKey(uint8_t vk, uint16_t count, int release);
void PressKeyAfterDelay(uint8_t vk, uint16_t count, int release, int delay);
bool HasBit(uint8_t value, unsigned int mask);
void TypeKeyCode(uint16_t keycode, uint16_t count, int release);
void WaitKeyDelay();
