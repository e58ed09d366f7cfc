// Keystroke library: turns key-sequence strings into synthesized key presses
// and brings windows to the front. The parser and the event synthesis reach the
// system only through KeyPort.h, so they build and run without <windows.h>.
#pragma once

#include <cstdint>

struct HWND__;  // the same type as HWND under <windows.h>

// Key code: virtual key in the low byte, VkKeyScanA shift bits in the high byte.
const uint16_t VKKEYSCANSHIFTON = 0x0001;
const uint16_t VKKEYSCANCTRLON = 0x0002;
const uint16_t VKKEYSCANALTON = 0x0004;
const uint16_t INVALIDKEY = 0xFFFF;

// keybd_event flags.
const uint32_t KEYFLAG_EXTENDED = 0x0001;
const uint32_t KEYFLAG_UP = 0x0002;

// Largest repeat count of a key and longest single delay or beep, so that no
// key sequence can hang the caller.
const int MAX_KEY_COUNT = 65535;
const int MAX_DELAY_MS = 10000;
const int MIN_BEEP_HZ = 37;
const int MAX_BEEP_HZ = 32767;

struct key_desc_t {
  const char* name;
  uint8_t vkey;
  int32_t is_char;  // vkey is a character, sent as VkKeyScanA gives it
};

const int KEY_NAME_COUNT = 71;
extern const key_desc_t KeyNames[KEY_NAME_COUNT];

const int EXTENDED_VKEY_COUNT = 10;
extern const uint8_t ExtendedVKeys[EXTENDED_VKEY_COUNT];

// Parser state; lives as long as the library is loaded.
extern int32_t m_bShiftDown;
extern int32_t m_bControlDown;
extern int32_t m_bAltDown;
extern int32_t m_bWinDown;
extern int32_t m_bUsingParens;
extern int32_t m_bWait;
extern uint32_t m_nDelayAlways;
extern uint32_t m_nDelayNow;

// Key-sequence language. Returns 1 when the whole text was processed, 0 when a
// brace group of 300 bytes or more stopped it.
int SendKeys(const char* text, int wait, HWND__* hwnd);
uint16_t StringToVKey(const char* name, int& index);
void PopUpShiftKeys();

// Event synthesis.
void KeyboardEvent(uint8_t vk, uint8_t scan, uint32_t flags);
int IsVkExtended(uint8_t vk);
void SendKeyUp(uint8_t vk);
void SendKeyDown(uint8_t vk, uint16_t count, int release);
void SendKeyDown2(uint8_t vk, uint16_t count, int release, int delay);
int BitSet(uint8_t value, unsigned int mask);
void SendKey(uint16_t keycode, uint16_t count, int release);
void CarryDelay();

// Window activation (Windows builds only).
int AppActivate2(HWND__* hwnd);
int AppActivate(const char* title);
