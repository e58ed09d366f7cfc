// The search record that AppActivate hands to its enumeration callback.
#pragma once

#include <windows.h>

struct window_search_t {
  const char* pattern;  // title part, NUL, class part, NUL; either part may be empty
  HWND found;           // first window that matched
};

BOOL CALLBACK enumwindowsProc(HWND hwnd, LPARAM param);
