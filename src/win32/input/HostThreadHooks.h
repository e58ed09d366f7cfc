// Input that reaches the host's thread, counted by hooks on that thread: key
// presses, which show here even where the thread's keyboard state does not
// change (Wine, for one, at times leaves it as it was), and turns of the mouse
// wheel, which change neither the cursor nor the keyboard. The plug-in's own
// keys are not counted (OwnKeys). The hooks also hand what they see to the
// rest of this folder: the person's last key or click to InputDates, the
// person's keys to HeldKeys while a hold lasts, and the person's input to
// LookOnInput.
#pragma once

#include <windows.h>

#include <cstdint>

#include "win32/WorkstationGuard.h"

// Installs the hooks on the calling thread, the host's; again does nothing.
// The guard's own windows are told from FileMaker's.
void StartCountingKeyPresses(const WorkstationGuard& guard);
void StopCountingKeyPresses();
// Presses counted since the first start; only ever grows.
uint32_t KeyPressesSoFar();
// Wheel turns (each message one, whatever its distance) since the first start,
// and the person's keys held back. Input elsewhere (a wheel turned over
// another program) has Windows' date: PersonsLastInput.
uint32_t WheelTurnsSoFar();

// The bit of a key's lParam, in the keyboard hook and in its message, that
// tells a release from a press.
const LPARAM KEY_RELEASED = static_cast<LPARAM>(1) << 31;
// Whether the keyboard hook is installed: without it no own key is looked for.
bool KeyboardHookInstalled();
// Whether the message hook is installed: without it no key is held back.
bool MessageHookInstalled();
