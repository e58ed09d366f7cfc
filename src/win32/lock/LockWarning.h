// The notice before the lock: a small window at the bottom right of the work
// area of the monitor that shows the host, counting the seconds down. It never
// takes the focus or the activation, so typing goes on reaching the record.
#pragma once

#include <windows.h>

#include <cstdint>

#include "portable/host/HostInterface.h"
#include "portable/text/LockTexts.h"
#include "win32/WorkstationGuard.h"

// Shows the notice, or updates its countdown, with `seconds` left. Under
// FileMaker 7 and later it speaks the user's language and is as large as its
// texts, which it is in English as it stands.
void ShowLockWarning(LockWarningNotice& notice, HINSTANCE instance, HWND owner, HWND host, int32_t seconds,
                     HostInterface hostInterface);
void CloseLockWarning(LockWarningNotice& notice);
