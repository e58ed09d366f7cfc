// Bringing a window to the front the way the keystroke library does, with the
// search record that BringTitledWindowToFront hands to its enumeration callback.
#pragma once

#include <windows.h>

// Nonzero when hwnd (or the first window whose title or class matches) was brought forward.
int BringWindowToFront(HWND hwnd);
int BringTitledWindowToFront(const char* title);

struct WindowSearch {
  const char* pattern;  // title part, NUL, class part, NUL; either part may be empty
  HWND found;           // first window that matched
};

BOOL CALLBACK MatchTitleOrClass(HWND hwnd, LPARAM param);
