// Window activation: bring a window to the front and give it the keyboard focus,
// by handle or by (part of) its title.
#include "win32/commit/WindowActivation.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "portable/keys/SendKeys.h"

namespace {
const int kNameBuffer = 300;
}

BOOL CALLBACK MatchTitleOrClass(HWND hwnd, LPARAM param) {
  WindowSearch* search = reinterpret_cast<WindowSearch*>(param);
  const char* title = search->pattern;
  const char* cls = title + std::strlen(title) + 1;
  char name[kNameBuffer];
  bool match = false;
  if (*cls && GetClassNameA(hwnd, name, kNameBuffer) > 0 && std::strstr(name, cls)) match = true;
  if (!match && *title && GetWindowTextA(hwnd, name, kNameBuffer) > 0 && std::strstr(name, title)) match = true;
  if (!match) return TRUE;
  search->found = hwnd;
  return FALSE;
}

int BringWindowToFront(HWND hwnd) {
  if (!hwnd) return 0;
  if (GetWindowThreadProcessId(hwnd, nullptr) != GetCurrentThreadId()) {
    // Another thread's window, most often another program's: nothing here may
    // wait for it to answer, for one that has stopped would hold FileMaker.
    SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW | SWP_ASYNCWINDOWPOS);
    SetForegroundWindow(hwnd);
    return 1;
  }
  SendMessageA(hwnd, WM_SYSCOMMAND, SC_HOTKEY, reinterpret_cast<LPARAM>(hwnd));
  SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
  ShowWindow(hwnd, SW_SHOW);
  SetForegroundWindow(hwnd);
  SetFocus(hwnd);
  return 1;
}

int BringTitledWindowToFront(const char* title) {
  // An empty title would match any untitled window (hidden dialogs included).
  if (!title || !*title) return 0;
  HWND window = FindWindowA(nullptr, title);
  if (!window) {
    size_t length = std::strlen(title);
    char* pattern = static_cast<char*>(std::calloc(length + 5, 1));
    if (!pattern) return 0;
    std::memcpy(pattern, title, length);
    WindowSearch search = {pattern, nullptr};
    EnumWindows(MatchTitleOrClass, reinterpret_cast<LPARAM>(&search));
    std::free(pattern);
    window = search.found;
  }
  return window ? BringWindowToFront(window) : 0;
}
