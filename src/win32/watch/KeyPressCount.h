// Key presses that reach the host's thread, counted by a keyboard hook on that
// thread: typing in FileMaker's windows shows here even where the thread's
// keyboard state does not change (Wine, for one, at times leaves it as it was).
// The plug-in's own keys are not counted.
#pragma once

#include <cstdint>

// Installs the hook on the calling thread, the host's; again does nothing.
void StartCountingKeyPresses();
void StopCountingKeyPresses();
// Presses counted since the first start; only ever grows.
uint32_t KeyPressesSoFar();
// The keystroke port is about to press a key of its own: the next press that
// reaches the thread is that one, not the user's.
void ExpectOwnKeyPress();
