#include "win32/LockWarning.h"

#include "resources/ResourceIds.h"
#include "win32/Monitors.h"

namespace {

const int MARGIN = 8;  // pixels between the notice and the edges of the work area

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
  if (notice.window && !IsWindow(notice.window)) notice.window = nullptr;
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
