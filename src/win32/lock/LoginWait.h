// After the third wrong password in a row, the login waits before the next
// try: neither the field nor OK takes anything until the deadline.
#pragma once

#include <windows.h>

#include <cstdint>

#include "win32/lock/LoginRequest.h"

// The wait is a deadline on the plug-in's clock: this timer of the login's only
// repaints the countdown, so no message sent from outside shortens it.
const UINT_PTR LOGIN_WAIT_TIMER = 1140;
const UINT LOGIN_WAIT_TICK_MS = 250;

// The field and OK take input, or not.
void EnableTyping(HWND login, bool enable);
// Starts the wait until endsAt; the lock session keeps it for a login that comes back.
void StartWait(HWND login, LoginRequest& request, uint32_t endsAt);
// The wait timer's tick: the countdown repainted, or the wait over.
void CountDown(HWND login, LoginRequest& request);
