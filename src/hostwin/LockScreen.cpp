#include "LockScreen.h"

#include <cstring>

#include "../plugin/Functions.h"
#include "../resources/ResourceIds.h"
#include "HostWindows.h"

char szField1[FIELD_TEXT_SIZE];
int32_t locked;

namespace {

const UINT SHOW_ON_TOP = SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW;
const UINT HIDE_IN_PLACE = SWP_NOSIZE | SWP_NOMOVE | SWP_HIDEWINDOW;

void ShowHostMainWindow() { SetWindowPos(getthewindow(), HWND_TOP, 0, 0, 0, 0, SHOW_ON_TOP); }

RECT DesktopRect() {
  RECT desktop;
  GetWindowRect(GetDesktopWindow(), &desktop);
  return desktop;
}

void InitBackdrop(HWND hwnd) {
  RECT d = DesktopRect();
  SetWindowPos(hwnd, HWND_TOP, d.left, d.top, d.right - d.left, d.bottom - d.top, SWP_SHOWWINDOW);
  SetWindowPos(getthewindow(), HWND_NOTOPMOST, 0, 0, 0, 0, HIDE_IN_PLACE);
  SetFocus(hwnd);
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(hwnd, GWLP_HINSTANCE));
  INT_PTR login = DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_LOGIN), hwnd, MyNewTitleProc, 0);
  // The login ends only on the right password. Anything else means it never
  // came up: a backdrop with nothing to type into would hold the screen forever.
  if (login != 1) EndDialog(hwnd, 0);
}

void InitLogin(HWND hwnd) {
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
  GetDlgItemTextA(hwnd, IDC_PASSWORD, szField1, PASSWORD_FIELD_LIMIT + 1);
  if (std::strcmp(szField1, MasterPass) == 0) {
    szField1[0] = '\0';
    EndDialog(hwnd, 1);
    EndDialog(GetWindow(hwnd, GW_OWNER), 1);  // this login's own backdrop
    ShowHostMainWindow();
  } else {
    SetDlgItemTextA(hwnd, IDC_PASSWORD, "");
    szField1[0] = '\0';
    MessageBoxA(hwnd, "Access Denied", "Incorrect password", MB_OK | MB_ICONHAND);
  }
}

}  // namespace

INT_PTR CALLBACK MyNewBackProc(HWND hwnd, UINT message, WPARAM, LPARAM) {
  if (message != WM_INITDIALOG) return FALSE;
  InitBackdrop(hwnd);
  return TRUE;
}

INT_PTR CALLBACK MyNewTitleProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG)
    InitLogin(hwnd);
  else if (message == WM_COMMAND && LOWORD(wParam) == IDC_LOGIN_OK)
    CheckPassword(hwnd);
  return FALSE;
}

bool RunLockScreen(HINSTANCE instance, HWND owner) {
  if (locked) return false;
  locked = 1;
  bool unlocked = DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_BACKDROP), owner, MyNewBackProc, 0) == 1;
  if (!unlocked) ShowHostMainWindow();  // the lock could not be put up
  locked = 0;
  return unlocked;
}
