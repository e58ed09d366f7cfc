// What the lock holds while it is up: its own two windows, and every window of
// the host that it hid and must give back.
#pragma once

#include <windows.h>

#include <cstdint>

// Today's FileMaker opens a top-level window for each document, card window,
// palette and dialog; far fewer than this are ever open at once. A window that
// finds no room is not hidden, so that none is hidden for good.
const int MOST_HIDDEN_WINDOWS = 1024;

struct LockedWindows {
  HWND backdrop;  // the lock's own: it and the windows it owns stay visible
  HWND login;
  HWND pluginWindows[2];             // the plug-in's others (timer dialog, warning): never hidden
  HWND inUse;                        // the host window the user worked in last
  HWND hidden[MOST_HIDDEN_WINDOWS];  // top of the stacking order first
  int hiddenCount;
  int32_t wrongPasswords;  // typed during the lock up now, or the one before
};

// Hides every visible top-level window of this process but the plug-in's own,
// noting each. Called when the lock starts and on each of its ticks: a window
// shown since is hidden in turn and goes on top of the windows to give back.
// Returns how many it hid now.
int HideHostWindows(LockedWindows& lock);

// Shows exactly the windows hidden that still exist, in their stacking order,
// makes the window in use the active one, and forgets them all.
void GiveBackHostWindows(LockedWindows& lock);
