#include "win32/LockScreen.h"

#include <cstring>

#include "portable/text/UnicodeText.h"
#include "resources/ResourceIds.h"
#include "win32/HostWindows.h"

namespace {

// What the backdrop hands its login.
struct LoginRequest {
  const char* password;
  HostTextKind hostText;
};

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

// A Unicode login dialog only where the text is Unicode: the 32-bit build also
// runs on Windows 95, whose wide dialog functions do nothing.
INT_PTR RunLogin(HWND backdrop, const LoginRequest& request) {
  LPARAM param = reinterpret_cast<LPARAM>(&request);
  if (request.hostText == HostTextKind::Utf8)
    return DialogBoxParamW(InstanceOf(backdrop), MAKEINTRESOURCEW(IDD_LOGIN), backdrop, LoginProc, param);
  return DialogBoxParamA(InstanceOf(backdrop), MAKEINTRESOURCEA(IDD_LOGIN), backdrop, LoginProc, param);
}

void InitBackdrop(HWND hwnd, const LoginRequest& request) {
  RECT d = DesktopRect();
  SetWindowPos(hwnd, HWND_TOP, d.left, d.top, d.right - d.left, d.bottom - d.top, SWP_SHOWWINDOW);
  SetWindowPos(FindHostMainWindow(), HWND_NOTOPMOST, 0, 0, 0, 0, HIDE_IN_PLACE);
  SetFocus(hwnd);
  INT_PTR login = RunLogin(hwnd, request);
  // The login ends only on the right password. Anything else means it never
  // came up: a backdrop with nothing to type into would hold the screen forever.
  if (login != 1) EndDialog(hwnd, 0);
}

void InitLogin(HWND hwnd, LPARAM request) {
  SetWindowLongPtrA(hwnd, DWLP_USER, request);
  RECT d = DesktopRect();
  RECT r;
  GetWindowRect(hwnd, &r);
  LONG w = r.right - r.left;
  LONG h = r.bottom - r.top;
  LONG x = d.left + (d.right - d.left - w) / 2;
  LONG y = d.top + (d.bottom - d.top - h) / 2;
  SetWindowPos(hwnd, HWND_TOP, x, y, 0, 0, SWP_NOSIZE);
  SendDlgItemMessageA(hwnd, IDC_LOGIN_OK, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  bool unicode = reinterpret_cast<const LoginRequest*>(request)->hostText == HostTextKind::Utf8;
  SendDlgItemMessageA(hwnd, IDC_PASSWORD, EM_LIMITTEXT, unicode ? UNICODE_PASSWORD_FIELD_LIMIT : PASSWORD_FIELD_LIMIT,
                      0);
  SetFocus(hwnd);
}

// What is typed, in the host interface's text, as the password is kept.
void ReadTyped(HWND hwnd, HostTextKind hostText, char* typed, size_t size) {
  if (hostText == HostTextKind::Utf8) {
    WCHAR units[UNICODE_PASSWORD_FIELD_LIMIT + 1] = L"";
    int count = GetDlgItemTextW(hwnd, IDC_PASSWORD, units, UNICODE_PASSWORD_FIELD_LIMIT + 1);
    static_assert(sizeof(WCHAR) == sizeof(char16_t), "UTF-16 units");
    Utf16ToUtf8(reinterpret_cast<const char16_t*>(units), count > 0 ? count : 0, typed, size);
    SecureZeroMemory(units, sizeof units);
  } else {
    GetDlgItemTextA(hwnd, IDC_PASSWORD, typed, static_cast<int>(size));
  }
}

void CheckPassword(HWND hwnd) {
  const LoginRequest* request = reinterpret_cast<const LoginRequest*>(GetWindowLongPtrA(hwnd, DWLP_USER));
  char typed[PASSWORD_SIZE] = "";
  if (request) ReadTyped(hwnd, request->hostText, typed, sizeof typed);
  bool right = request && request->password && std::strcmp(typed, request->password) == 0;
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
  InitBackdrop(hwnd, *reinterpret_cast<const LoginRequest*>(lParam));
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

bool RunLockScreen(HINSTANCE instance, HWND owner, const char* password, bool& lockUp, HostTextKind hostText) {
  if (lockUp) return false;
  lockUp = true;
  LoginRequest request = {password, hostText};
  bool unlocked = DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_BACKDROP), owner, BackdropProc,
                                  reinterpret_cast<LPARAM>(&request)) == 1;
  if (!unlocked) ShowHostMainWindow();  // the lock could not be put up
  lockUp = false;
  return unlocked;
}
