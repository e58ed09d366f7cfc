#include "win32/lock/Login.h"

#include <cstring>

#include "portable/engine/LoginDelay.h"
#include "portable/engine/ParameterRules.h"
#include "resources/ResourceIds.h"
#include "win32/lock/HiddenHostWindows.h"
#include "win32/lock/LoginDressing.h"
#include "win32/lock/LoginWait.h"
#include "win32/lock/PasswordCheck.h"
#include "win32/lock/PasswordUnlock.h"
#include "win32/lock/ShownText.h"
#include "win32/system/ModuleReference.h"
#include "win32/system/Monitors.h"
#include "win32/watch/Timers.h"

static_assert(PASSWORD_FIELD_LIMIT == MAX_PARAMETER_LENGTH + 1 && PASSWORD_FIELD_LIMIT < PASSWORD_SIZE,
              "the field takes every password the functions accept");
static_assert(UNICODE_PASSWORD_FIELD_LIMIT == 2 * MAX_PARAMETER_LENGTH, "254 characters of up to two units");

namespace {

WNDPROC g_passwordFieldProc;

// Enter in the password field is OK in whatever loop runs: a box the host
// opened during the lock runs a loop of its own above the login's, which
// hands the login's keys to the field as they are. In the login's own loop
// the dialog takes Enter first, and the field never sees it.
LRESULT CALLBACK PasswordFieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
  bool enter = (message == WM_KEYDOWN && wParam == VK_RETURN) || (message == WM_CHAR && wParam == '\r');
  if (enter) {
    if (message == WM_KEYDOWN)
      PostMessageA(GetParent(field), WM_COMMAND, MAKEWPARAM(IDC_LOGIN_OK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(GetParent(field), IDC_LOGIN_OK)));
    return 0;
  }
  return IsWindowUnicode(field) ? CallWindowProcW(g_passwordFieldProc, field, message, wParam, lParam)
                                : CallWindowProcA(g_passwordFieldProc, field, message, wParam, lParam);
}

void TakeEnterInAnyLoop(HWND login) {
  HWND field = GetDlgItem(login, IDC_PASSWORD);
  if (!field) return;
  LONG_PTR proc = reinterpret_cast<LONG_PTR>(PasswordFieldProc);
  LONG_PTR before = IsWindowUnicode(field) ? SetWindowLongPtrW(field, GWLP_WNDPROC, proc)
                                           : SetWindowLongPtrA(field, GWLP_WNDPROC, proc);
  g_passwordFieldProc = reinterpret_cast<WNDPROC>(before);
}

// Centred on the monitor that showed the host, where the user looks.
void CentreOnHostMonitor(HWND hwnd, HWND host) {
  RECT d = MonitorAreaOf(host);
  RECT r;
  if (!GetWindowRect(hwnd, &r)) return;
  LONG x = d.left + (d.right - d.left - (r.right - r.left)) / 2;
  LONG y = d.top + (d.bottom - d.top - (r.bottom - r.top)) / 2;
  SetWindowPos(hwnd, HWND_TOP, x, y, 0, 0, SWP_NOSIZE);
}

void InitLogin(HWND hwnd, LPARAM param) {
  SetWindowLongPtrA(hwnd, DWLP_USER, param);
  LoginRequest* request = reinterpret_cast<LoginRequest*>(param);
  request->guard->lockedWindows.login = hwnd;
  if (request->hostInterface == HostInterface::Modern) DressModernLogin(hwnd, *request);
  CentreOnHostMonitor(hwnd, request->guard->lockedWindows.inUse);
  SendDlgItemMessageA(hwnd, IDC_LOGIN_OK, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  TakeEnterInAnyLoop(hwnd);
  bool unicode = request->hostInterface == HostInterface::Modern;
  SendDlgItemMessageA(hwnd, IDC_PASSWORD, EM_LIMITTEXT, unicode ? UNICODE_PASSWORD_FIELD_LIMIT : PASSWORD_FIELD_LIMIT,
                      0);
  // The password field, not the list before it: someone who only types works
  // as before.
  SetFocus(request->people.count > 0 ? GetDlgItem(hwnd, IDC_PASSWORD) : hwnd);
  request->loginCameUp = true;
  const LockSession& session = request->guard->lockSession;
  if (session.waiting) StartWait(hwnd, *request, session.waitEndsAt);
}

// Overwrites what was typed in the control's own buffer before emptying it:
// text of the same length in the control's own units takes the same room
// (EM_GETHANDLE, which would reach it directly, serves multi-line edits only).
// A "*" is one unit in either kind of text. The buffer is freed unwiped when
// the field goes.
void WipePasswordField(HWND login) {
  HWND field = GetDlgItem(login, IDC_PASSWORD);
  if (!field) return;
  int length = IsWindowUnicode(field) ? GetWindowTextLengthW(field) : GetWindowTextLengthA(field);
  if (length > UNICODE_PASSWORD_FIELD_LIMIT) length = UNICODE_PASSWORD_FIELD_LIMIT;
  if (length > 0) {
    char filler[UNICODE_PASSWORD_FIELD_LIMIT + 1];
    std::memset(filler, '*', length);
    filler[length] = '\0';
    SetWindowTextA(field, filler);
  }
  SendMessageA(field, EM_EMPTYUNDOBUFFER, 0, 0);
  SetWindowTextA(field, "");
}

void CheckPassword(HWND hwnd) {
  LoginRequest* request = RequestOf(hwnd);
  // An OK that came anyway, such as a posted click, during a wait or a check.
  if (!request || request->guard->lockSession.waiting || request->checking) return;
  TryResult result = TypedMatches(hwnd, *request);
  if (result == TryResult::Abandoned) return;  // the login is ending: nothing of the try counts
  WipePasswordField(hwnd);
  if (result == TryResult::Right) {
    EndDialog(hwnd, 1);
    EndDialog(GetWindow(hwnd, GW_OWNER), 1);  // this login's own backdrop
    // At once: a box the host opened during the lock runs a loop above the
    // login's, which ends only once that box is answered.
    UnlockAtPassword(*request);
    return;
  }
  int32_t wait = SecondsToWaitAfterWrongPassword(++request->guard->lockSession.wrongPasswords);
  if (wait > 0) StartWait(hwnd, *request, IdleClockNow() + static_cast<uint32_t>(wait) * 1000);
  ShowLockMessageBox(hwnd, request->hostInterface, request->language, LockText::RefusalMessage, LockText::RefusalTitle,
                     MB_OK | MB_ICONHAND);
}

INT_PTR CALLBACK LoginProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG)
    InitLogin(hwnd, lParam);
  else if (message == WM_COMMAND && LOWORD(wParam) == IDC_LOGIN_OK)
    CheckPassword(hwnd);
  else if (message == WM_TIMER && wParam == LOGIN_WAIT_TIMER && RequestOf(hwnd))
    CountDown(hwnd, *RequestOf(hwnd));
  else if (message == WM_DESTROY)  // however the login ends: its field still stands
    WipePasswordField(hwnd);
  return FALSE;
}

}  // namespace

LoginRequest* RequestOf(HWND dialog) { return reinterpret_cast<LoginRequest*>(GetWindowLongPtrA(dialog, DWLP_USER)); }

INT_PTR RunLogin(HWND backdrop, LoginRequest& request) {
  LPARAM param = reinterpret_cast<LPARAM>(&request);
  HINSTANCE instance = ModuleOfWindow(backdrop);
  if (request.hostInterface == HostInterface::Modern)
    return DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_LOGIN), backdrop, LoginProc, param);
  return DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_LOGIN), backdrop, LoginProc, param);
}
