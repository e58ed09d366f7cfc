#include "win32/LockScreen.h"

#include <cstring>

#include "resources/ResourceIds.h"
#include "win32/HostWindows.h"

namespace {

const UINT SHOW_ON_TOP = SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW;
const UINT HIDE_IN_PLACE = SWP_NOSIZE | SWP_NOMOVE | SWP_HIDEWINDOW;

void ShowHostMainWindow() { SetWindowPos(FindHostMainWindow(), HWND_TOP, 0, 0, 0, 0, SHOW_ON_TOP); }

RECT DesktopRect() {
  RECT desktop;
  GetWindowRect(GetDesktopWindow(), &desktop);
  return desktop;
}

HINSTANCE InstanceOf(HWND hwnd) { return reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(hwnd, GWLP_HINSTANCE)); }

INT_PTR CALLBACK LoginProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

void InitBackdrop(HWND hwnd, const char* password) {
  RECT d = DesktopRect();
  SetWindowPos(hwnd, HWND_TOP, d.left, d.top, d.right - d.left, d.bottom - d.top, SWP_SHOWWINDOW);
  SetWindowPos(FindHostMainWindow(), HWND_NOTOPMOST, 0, 0, 0, 0, HIDE_IN_PLACE);
  SetFocus(hwnd);
  INT_PTR login = DialogBoxParamA(InstanceOf(hwnd), MAKEINTRESOURCEA(IDD_LOGIN), hwnd, LoginProc,
                                  reinterpret_cast<LPARAM>(password));
  // The login ends only on the right password. Anything else means it never
  // came up: a backdrop with nothing to type into would hold the screen forever.
  if (login != 1) EndDialog(hwnd, 0);
}

void InitLogin(HWND hwnd, LPARAM password) {
  SetWindowLongPtrA(hwnd, DWLP_USER, password);
  RECT d = DesktopRect();
  RECT r;
  GetWindowRect(hwnd, &r);
  LONG w = r.right - r.left;
  LONG h = r.bottom - r.top;
  LONG x = d.left + (d.right - d.left - w) / 2;
  LONG y = d.top + (d.bottom - d.top - h) / 2;
  SetWindowPos(hwnd, HWND_TOP, x, y, 0, 0, SWP_NOSIZE);
  SendDlgItemMessageA(hwnd, IDC_LOGIN_OK, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  SendDlgItemMessageA(hwnd, IDC_PASSWORD, EM_LIMITTEXT, PASSWORD_FIELD_LIMIT, 0);
  SetFocus(hwnd);
}

void CheckPassword(HWND hwnd) {
  const char* password = reinterpret_cast<const char*>(GetWindowLongPtrA(hwnd, DWLP_USER));
  char typed[PASSWORD_FIELD_LIMIT + 1] = "";
  GetDlgItemTextA(hwnd, IDC_PASSWORD, typed, sizeof typed);
  bool right = password && std::strcmp(typed, password) == 0;
  SecureZeroMemory(typed, sizeof typed);
  if (right) {
    EndDialog(hwnd, 1);
    EndDialog(GetWindow(hwnd, GW_OWNER), 1);  // this login's own backdrop
    ShowHostMainWindow();
  } else {
    SetDlgItemTextA(hwnd, IDC_PASSWORD, "");
    MessageBoxA(hwnd, "Access Denied", "Incorrect password", MB_OK | MB_ICONHAND);
  }
}

INT_PTR CALLBACK BackdropProc(HWND hwnd, UINT message, WPARAM, LPARAM lParam) {
  if (message != WM_INITDIALOG) return FALSE;
  InitBackdrop(hwnd, reinterpret_cast<const char*>(lParam));
  return TRUE;
}

INT_PTR CALLBACK LoginProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG)
    InitLogin(hwnd, lParam);
  else if (message == WM_COMMAND && LOWORD(wParam) == IDC_LOGIN_OK)
    CheckPassword(hwnd);
  return FALSE;
}

}  // namespace

bool RunLockScreen(HINSTANCE instance, HWND owner, const char* password, bool& lockUp) {
  if (lockUp) return false;
  lockUp = true;
  bool unlocked = DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_BACKDROP), owner, BackdropProc,
                                  reinterpret_cast<LPARAM>(password)) == 1;
  if (!unlocked) ShowHostMainWindow();  // the lock could not be put up
  lockUp = false;
  return unlocked;
}
