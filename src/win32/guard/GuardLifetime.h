// The guard's start and end, the same under both host interfaces.
#pragma once

#include <windows.h>

#include "win32/WorkstationGuard.h"

// The host's init call: every setting but the password back to off, and an
// earlier timer dialog gone. A lock that is up stays up until its password.
void StartGuard(WorkstationGuard& guard, HINSTANCE instance, HostInterface hostInterface);
// The host's shutdown call: the host may free the library next while its
// windows live on, so no timer and no window of ours may be left to call into
// unmapped code; and the password is wiped (a digest is kept).
void StopGuard(WorkstationGuard& guard);
