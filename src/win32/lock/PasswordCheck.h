// One try at the login: what is typed, checked against what is in force when
// OK is pressed.
#pragma once

#include <windows.h>

#include "win32/lock/LoginRequest.h"

enum class TryResult { Wrong, Right, Abandoned };

// One derivation a try, against the chosen entry only, as it is in force now:
// a person removed since the lock opened opens nothing. A digest's derivation
// runs on a worker thread while the login goes on painting; the plug-in's
// shutdown or a WM_QUIT (handed back) abandons it.
TryResult TypedMatches(HWND login, LoginRequest& request);
