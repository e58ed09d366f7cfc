// Dispatching the keyboard messages already queued for this thread: typed
// keys reach their window before anything else happens.
#pragma once

void DispatchKeyboardMessages();
