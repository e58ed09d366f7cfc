// A port that only counts: what the parser and synthesis cost on their own.
#include "portable/keys/KeyPort.h"

unsigned long long g_events;

bool PortKeybdEvent(uint8_t, uint8_t, uint32_t) {
  ++g_events;
  return true;
}
uint8_t PortMapVirtualKey(uint8_t vk) { return static_cast<uint8_t>(vk ^ 0xA5); }
uint16_t PortVkKeyScan(char ch) {
  unsigned char c = static_cast<unsigned char>(ch);
  if (c >= 'a' && c <= 'z') return static_cast<uint16_t>(c - 32);
  if (c >= 'A' && c <= 'Z') return static_cast<uint16_t>(0x100 | c);
  if (c >= '0' && c <= '9') return c;
  return c == ' ' ? 0x20 : 0xFFFF;
}
void PortPumpKeyboardMessages() {}
void PortSleep(uint32_t) {}
void PortBeep(uint32_t, uint32_t) {}
uint32_t PortGetVersion() { return 0x0A280105; }
int16_t PortGetKeyState(int) { return 0; }
void PortGetKeyboardState(uint8_t*) {}
void PortSetKeyboardState(uint8_t*) {}
int PortBringTitledWindowToFront(const char*) { return 1; }
