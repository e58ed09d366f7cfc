// The plug-in's own key events, told from the person's: the keystroke port
// notes each one it sends, and the keyboard hook on the host's thread takes it
// off the list when it arrives, so that it is neither counted as the person's
// press nor held back as the person's key.
#pragma once

#include <cstdint>

// The keystroke port sent a key event of its own: the next event of that key
// and direction that reaches the thread is that one, not the user's.
void ExpectOwnKeyEvent(uint8_t vk, bool up);
// Whether a key of the plug-in's own has not yet reached the thread; one that
// never came within a second is given up.
bool OwnKeysOnTheirWay();

// For the keyboard hook: whether the event of that key and direction is the
// oldest of the plug-in's own on their way, which it then no longer is.
bool TakeOwn(uint8_t vk, bool up);
// The hooks are gone: no own key is on its way any more.
void ForgetOwnKeys();
