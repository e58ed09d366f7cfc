// Input that reaches the host's thread, counted by hooks on that thread: key
// presses, which show here even where the thread's keyboard state does not
// change (Wine, for one, at times leaves it as it was), and turns of the mouse
// wheel, which change neither the cursor nor the keyboard. The plug-in's own
// keys are not counted.
#pragma once

#include <cstdint>

// Installs the hooks on the calling thread, the host's; again does nothing.
void StartCountingKeyPresses();
void StopCountingKeyPresses();
// Presses counted since the first start; only ever grows.
uint32_t KeyPressesSoFar();
// Wheel turns (each message one, whatever its distance) since the first start.
uint32_t WheelTurnsSoFar();
// The keystroke port is about to press a key of its own: the next press that
// reaches the thread is that one, not the user's.
void ExpectOwnKeyPress();
// Whether a key of the plug-in's own has not yet reached the thread; one that
// never came within a second is given up.
bool OwnKeysOnTheirWay();
