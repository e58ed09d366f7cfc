// Dispatching the keyboard messages already queued for this thread: typed
// keys reach their window before anything else happens.
#pragma once

void DispatchKeyboardMessages();

// Dispatches everything queued but keyboard input, which is dropped: nothing
// typed meanwhile counts. A WM_QUIT is taken out and true returned with its
// code, for the caller to hand back (PostQuitMessage) once it stops pumping.
bool DispatchMessagesDroppingKeys(int& quitCode);
