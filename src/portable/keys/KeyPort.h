// The keystroke library's only ways out to the system. Windows builds link
// Win32KeyPort.cpp; tests link a recorder that notes every call in order.
#pragma once

#include <cstdint>

// False when Windows refused the event (another desktop has the input, as
// while Windows is locked).
bool PortKeybdEvent(uint8_t vk, uint8_t scan, uint32_t flags);
uint8_t PortMapVirtualKey(uint8_t vk);  // scan code of vk (map type 0)
uint16_t PortVkKeyScan(char ch);
void PortPumpKeyboardMessages();  // dispatch queued WM_KEYFIRST..0x108 messages
void PortSleep(uint32_t ms);
void PortBeep(uint32_t frequency, uint32_t ms);
uint32_t PortGetVersion();
int16_t PortGetKeyState(int vk);
void PortGetKeyboardState(uint8_t* state256);
void PortSetKeyboardState(uint8_t* state256);
int PortBringTitledWindowToFront(const char* title);
