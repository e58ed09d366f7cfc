// Bringing a look forward on the person's input: the message hook on the
// host's thread fires a timer of the timer dialog at once when the person's
// key or mouse message arrives.
#pragma once

#include <windows.h>

// The person's next key or mouse message on the thread brings the dialog's
// FileMaker tick forward (while the lock warning shows); null: none does. The
// guard names the tick's timer (win32/watch/Timers.h, a room above this one).
void TickOnPersonsInput(HWND dialog, UINT_PTR timer);

// For the message hook: the person's key or mouse message reached the thread.
void TickNowOnPersonsInput();
