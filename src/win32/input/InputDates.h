// When the person last gave input: Windows' date of the last input in the
// session, told from the plug-in's own keys, and the time of the person's last
// key or click that reached the host's thread.
#pragma once

#include <windows.h>

#include <cstdint>

// Whether Windows dates input (GetLastInputInfo, which came with Windows
// 2000), without asking it for the time.
bool WindowsDatesInput();
// When the person last gave input anywhere in the session: Windows' date of
// it, or where that is the plug-in's own key, the person's input before it or
// their last key or mouse message that reached the host's thread, whichever
// came later. False where Windows dates no input. Every reader of Windows'
// date asks this, the watching thread too.
bool PersonsLastInput(uint32_t& at);
// No input of the person's anywhere for ms (true where Windows cannot tell).
bool PersonPausedFor(uint32_t ms);
// The keystroke port is about to send a key of the plug-in's own: Windows'
// date of the input before it is the person's.
void NoteOwnKeyComing();

// For the message hook: a key or mouse message of the person's reached the
// host's thread.
void NotePersonsMessage(const MSG& message);
