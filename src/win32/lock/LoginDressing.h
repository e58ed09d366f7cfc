// The login under FileMaker 7 and later: the texts in the user's language,
// the shared desk's list and the solution's line where they are set, and a
// layout that fits them all. FileMaker Pro 5 and 6 keep the template as it stands.
#pragma once

#include <windows.h>

#include "win32/lock/LoginRequest.h"

void DressModernLogin(HWND login, const LoginRequest& request);
