// Window activation: bring a window to the front and give it the keyboard focus,
// by handle or by (part of) its title.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "SendKeys.h"
#include "WindowSearch.h"

namespace {
const int kNameBuffer = 300;
}

BOOL CALLBACK enumwindowsProc(HWND hwnd, LPARAM param) {
  window_search_t* search = reinterpret_cast<window_search_t*>(param);
  const char* title = search->pattern;
  const char* cls = title + std::strlen(title) + 1;
  char name[kNameBuffer];
  bool match = false;
  if (*cls && GetClassNameA(hwnd, name, kNameBuffer) > 0 && std::strstr(name, cls)) match = true;
  if (!match && *title && GetWindowTextA(hwnd, name, kNameBuffer) > 0 && std::strstr(name, title))
    match = true;
  if (!match) return TRUE;
  search->found = hwnd;
  return FALSE;
}

int AppActivate2(HWND hwnd) {
  if (!hwnd) return 0;
  SendMessageA(hwnd, WM_SYSCOMMAND, SC_HOTKEY, reinterpret_cast<LPARAM>(hwnd));
  SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
  ShowWindow(hwnd, SW_SHOW);
  SetForegroundWindow(hwnd);
  SetFocus(hwnd);
  return 1;
}

int AppActivate(const char* title) {
  // An empty title would match any untitled window (hidden dialogs included).
  if (!title || !*title) return 0;
  HWND window = FindWindowA(nullptr, title);
  if (!window) {
    size_t length = std::strlen(title);
    char* pattern = static_cast<char*>(std::calloc(length + 5, 1));
    if (!pattern) return 0;
    std::memcpy(pattern, title, length);
    window_search_t search = {pattern, nullptr};
    EnumWindows(enumwindowsProc, reinterpret_cast<LPARAM>(&search));
    std::free(pattern);
    window = search.found;
  }
  return window ? AppActivate2(window) : 0;
}
