// Dispatching the keyboard messages already queued for this thread: typed
// keys reach their window before anything else happens.
#pragma once

void DispatchKeyboardMessages();
// Dispatches the keys just typed into the host, so that the host has them all
// before anything takes the focus. Keyboard input reaches the queue a little
// after it is synthesized, so this waits briefly for more.
void DeliverTypedKeys();

// Dispatches everything queued but keyboard input, which is dropped: nothing
// typed meanwhile counts. A WM_QUIT is taken out and true returned with its
// code, for the caller to hand back (PostQuitMessage) once it stops pumping.
bool DispatchMessagesDroppingKeys(int& quitCode);
