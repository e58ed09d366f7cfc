// The "Please Login" dialog in front of the lock's backdrop, run until the
// password.
#pragma once

#include <windows.h>

#include "win32/lock/LoginRequest.h"

// The login, modal to the backdrop: 1 once the right password is typed. A
// Unicode dialog only where the text is Unicode: the 32-bit build also runs on
// Windows 95, whose wide dialog functions do nothing.
INT_PTR RunLogin(HWND backdrop, LoginRequest& request);

// The request a login or its backdrop was handed.
LoginRequest* RequestOf(HWND dialog);
