// Input that reaches the host's thread, counted by hooks on that thread: key
// presses, which show here even where the thread's keyboard state does not
// change (Wine, for one, at times leaves it as it was), and turns of the mouse
// wheel, which change neither the cursor nor the keyboard. The plug-in's own
// keys are not counted.
#pragma once

#include <windows.h>

#include <cstdint>

// Installs the hooks on the calling thread, the host's; again does nothing.
void StartCountingKeyPresses();
void StopCountingKeyPresses();
// The person's next key or mouse message on the thread brings the dialog's
// FileMaker tick forward (while the lock warning shows); null: none does.
void TickOnPersonsInput(HWND dialog);
// Presses counted since the first start; only ever grows.
uint32_t KeyPressesSoFar();
// Wheel turns (each message one, whatever its distance) since the first start,
// and the person's keys held back. Input elsewhere (a wheel turned over
// another program) has Windows' date: PersonsLastInput.
uint32_t WheelTurnsSoFar();
// When Windows last saw input in the session (GetLastInputInfo, which came
// with Windows 2000; false without it).
bool ReadLastInputTime(uint32_t& at);
// Whether it can: without asking it for the time.
bool WindowsDatesInput();
// When the person last gave input anywhere in the session: Windows' date of
// it, or where that is the plug-in's own key, the time of the person's last
// key or mouse message that reached the host's thread. False where Windows
// dates no input.
bool PersonsLastInput(uint32_t& at);
// The keystroke port sent a key event of its own: the next event of that key
// and direction that reaches the thread is that one, not the user's.
void ExpectOwnKeyEvent(uint8_t vk, bool up);
// While the plug-in holds the foreground taken from another program, the
// person's keys that reach the thread are held back, never the host's, until
// GiveBackHeldKeys types them, in order, into another program's window once
// one is in front. Until then it keeps them (false), unless `anyway`, which
// drops them rather than hand them to the host. A key typed before the hold
// began is the host's, unless `typedBeforeToo`: the host was not in front,
// and a key typed within the same tick of the clock came after all the same.
void HoldPersonsKeys(bool typedBeforeToo);
// No input of the person's anywhere for ms (true where Windows cannot tell).
bool PersonPausedFor(uint32_t ms);
bool PersonsKeysHeld();
bool GiveBackHeldKeys(bool anyway);
// Whether a key of the plug-in's own has not yet reached the thread; one that
// never came within a second is given up.
bool OwnKeysOnTheirWay();
