// The search record that BringTitledWindowToFront hands to its enumeration callback.
#pragma once

#include <windows.h>

struct WindowSearch {
  const char* pattern;  // title part, NUL, class part, NUL; either part may be empty
  HWND found;           // first window that matched
};

BOOL CALLBACK MatchTitleOrClass(HWND hwnd, LPARAM param);
