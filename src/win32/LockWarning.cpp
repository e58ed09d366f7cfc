#include "win32/LockWarning.h"

#include "resources/ResourceIds.h"

namespace {

const int MARGIN = 8;  // pixels between the notice and the edges of the work area

typedef HMONITOR(WINAPI* MonitorFromWindowFunction)(HWND, DWORD);
typedef BOOL(WINAPI* GetMonitorInfoFunction)(HMONITOR, LPMONITORINFO);

// The work area of the monitor that shows host. Windows 95 and NT 4.0 have one
// monitor and no monitor functions: there it is the primary work area.
RECT WorkAreaOf(HWND host) {
  HMODULE user32 = GetModuleHandleA("user32.dll");
  MonitorFromWindowFunction monitorFromWindow =
      reinterpret_cast<MonitorFromWindowFunction>(reinterpret_cast<void*>(GetProcAddress(user32, "MonitorFromWindow")));
  GetMonitorInfoFunction getMonitorInfo =
      reinterpret_cast<GetMonitorInfoFunction>(reinterpret_cast<void*>(GetProcAddress(user32, "GetMonitorInfoA")));
  if (monitorFromWindow && getMonitorInfo) {
    MONITORINFO info;
    info.cbSize = sizeof info;
    if (getMonitorInfo(monitorFromWindow(host, MONITOR_DEFAULTTONEAREST), &info)) return info.rcWork;
  }
  RECT area;
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0)) GetWindowRect(GetDesktopWindow(), &area);
  return area;
}

INT_PTR CALLBACK NoticeProc(HWND hwnd, UINT message, WPARAM, LPARAM) {
  if (message == WM_MOUSEACTIVATE) {
    // A click on the notice must not take the activation from the host.
    SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, MA_NOACTIVATE);
    return TRUE;
  }
  return FALSE;  // WM_INITDIALOG too: no control gets the focus
}

void SetCountdown(LockWarningNotice& notice, int32_t seconds) {
  char text[64];
  wsprintfA(text, "This workstation locks in %ld s.", static_cast<long>(seconds));
  SetDlgItemTextA(notice.window, IDC_WARNING_COUNTDOWN, text);
  notice.secondsShown = seconds;
}

}  // namespace

void ShowLockWarning(LockWarningNotice& notice, HINSTANCE instance, HWND owner, HWND host, int32_t seconds) {
  if (notice.window) {
    if (seconds != notice.secondsShown) SetCountdown(notice, seconds);
    return;
  }
  notice.window = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_LOCK_WARNING), owner, NoticeProc, 0);
  if (!notice.window) return;
  SetCountdown(notice, seconds);
  RECT area = WorkAreaOf(host);
  RECT size;
  GetWindowRect(notice.window, &size);
  int x = area.right - (size.right - size.left) - MARGIN;
  int y = area.bottom - (size.bottom - size.top) - MARGIN;
  SetWindowPos(notice.window, HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void CloseLockWarning(LockWarningNotice& notice) {
  if (!notice.window) return;
  DestroyWindow(notice.window);
  notice.window = nullptr;
  notice.secondsShown = 0;
}
