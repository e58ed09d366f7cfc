#include "LockScreenWatch.h"

#include <windows.h>

#include <string>

#include "LockWindows.h"
#include "Timeline.h"
#include "resources/ResourceIds.h"

namespace {

bool g_loginShown, g_deniedShown;
int g_backdrops, g_logins;
std::string g_warningShown;

struct LockWindows {
  int backdrops = 0, logins = 0;
};

// The lock's windows: the login, and the backdrop as a visible, untitled dialog
// window of ours.
BOOL CALLBACK CountLockWindows(HWND hwnd, LPARAM param) {
  LockWindows* count = reinterpret_cast<LockWindows*>(param);
  if (hwnd == FindLogin())
    ++count->logins;
  else if (IsLockBackdrop(hwnd))
    ++count->backdrops;
  return TRUE;
}

// The notice before the lock: its countdown, and whether it took the focus.
void WatchLockWarning(HWND warning) {
  std::string text = FirstStaticText(warning);
  if (text == g_warningShown) return;
  if (!warning) {
    Event("lock warning gone");
  } else {
    RECT r, area;
    GetWindowRect(warning, &r);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    bool active = GetForegroundWindow() == warning || GetActiveWindow() == warning;
    Event("lock warning \"%s\" %s, %ld px from the right and %ld px from the bottom of the work area", text.c_str(),
          active ? "active" : "not active", area.right - r.right, area.bottom - r.bottom);
  }
  g_warningShown = text;
}

// The login's prompt, which counts a wait down after wrong passwords, and
// whether its password field takes typing.
void WatchLoginPrompt(HWND login) {
  static std::string shown;
  std::string text;
  if (login) {
    bool enabled = IsWindowEnabled(GetDlgItem(login, IDC_PASSWORD));
    text = TextOf(GetDlgItem(login, IDC_LOGIN_PROMPT)) + (enabled ? "\", field enabled" : "\", field disabled");
  }
  if (text == shown) return;
  if (login) Event("login prompt \"%s", text.c_str());
  shown = text;
}

}  // namespace

// Whatever language the lock speaks, its windows keep these names here.
void WatchLockScreen() {
  LockWindows count;
  EnumWindows(CountLockWindows, reinterpret_cast<LPARAM>(&count));
  if (count.backdrops != g_backdrops || count.logins != g_logins)
    Event("lock windows: %d backdrop, %d login", count.backdrops, count.logins);
  g_backdrops = count.backdrops;
  g_logins = count.logins;
  WatchLockWarning(FindLockWarning());
  HWND login = FindLogin();
  bool shown = login != nullptr;
  if (shown != g_loginShown) Event(shown ? "window \"Please Login\" appeared" : "window \"Please Login\" gone");
  g_loginShown = shown;
  WatchLoginPrompt(login);
  HWND denied = FindRefusal(login);
  shown = denied != nullptr;
  if (shown != g_deniedShown) {
    if (shown)
      Event("window \"Incorrect password\" appeared: \"%s\"", FirstStaticText(denied).c_str());
    else
      Event("window \"Incorrect password\" gone");
  }
  g_deniedShown = shown;
}
