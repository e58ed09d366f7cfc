// The host's windows the lock hides while it is up, and gives back in their
// stacking order.
#pragma once

#include <windows.h>

#include "win32/WorkstationGuard.h"

// Hides every visible top-level window of this process but the plug-in's own,
// noting each in the guard's locked windows. Called when the lock starts and on
// each of its ticks: a window shown since is hidden in turn and goes on top of
// the windows to give back. Returns how many it hid now.
int HideHostWindows(WorkstationGuard& guard);

// Shows exactly the windows hidden that still exist, in their stacking order,
// makes the window in use the active one, and forgets them all.
void GiveBackHostWindows(LockedWindows& lock);

// The host covered at once while a lock waits for its commit: a backdrop over
// every window and never active, so that the commit's keys still reach the
// host under it, while whoever is at the desk sees nothing of it and their
// keys are held back. The lock's own backdrop takes its place.
void CoverHostWindows(WorkstationGuard& guard);
void DropCover(LockedWindows& lock);
