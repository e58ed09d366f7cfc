// The lock ends the moment the right password is typed, not when the loops
// above the login return: a box the host opened during the lock runs a loop of
// its own over the login's, and may stay unanswered for long. From then on the
// limits count, a lock can open again, and the status says so.
#pragma once

#include "win32/lock/LoginRequest.h"

// The host's windows back, both counts afresh, the unlock told to the script.
void UnlockAtPassword(LoginRequest& request);

// Both counts afresh once the login's last keys (the release of Enter) are in:
// what was typed at the login was no typing in the host, and the record stays
// committed until the user types.
void StartCountsAfterLogin(WorkstationGuard& guard);
