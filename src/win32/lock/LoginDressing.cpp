#include "win32/lock/LoginDressing.h"

#include "portable/engine/LoginDelay.h"
#include "portable/text/UnicodeText.h"
#include "resources/ResourceIds.h"
#include "win32/lock/LoginLayout.h"
#include "win32/lock/ShownText.h"
#include "win32/system/ModuleReference.h"
#include "win32/system/Monitors.h"

namespace {

// A child of the login in the login's font, first in the tab order; the
// layout places it.
HWND AddControl(HWND login, const wchar_t* windowClass, DWORD style, int id) {
  HINSTANCE instance = ModuleOfWindow(login);
  HWND control = CreateWindowExW(0, windowClass, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, login,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  SendMessageW(control, WM_SETFONT, SendMessageW(login, WM_GETFONT, 0, 0), FALSE);
  SetWindowPos(control, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  return control;
}

// At a shared desk: the list of who unlocks, above the password row; the
// people in the order they were added, then the workstation's own entry when
// it has a password.
void AddNameList(HWND login, const LoginRequest& request) {
  HWND list = AddControl(login, L"COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, IDC_LOGIN_NAME);
  HWND label = AddControl(login, L"STATIC", SS_LEFT, IDC_LOGIN_NAME_LABEL);
  SetShownText(label, HostInterface::Modern, LockTextIn(request.language, LockText::NameLabel));
  for (int i = 0; i < request.people.count; ++i) {
    WCHAR name[2 * MOST_USER_NAME_CHARACTERS + 1] = L"";
    Utf8ToUtf16(request.people.users[i].name, reinterpret_cast<char16_t*>(name), 2 * MOST_USER_NAME_CHARACTERS);
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
  }
  if (request.workstationEntry) {
    WCHAR entry[64] = L"";
    Utf8ToUtf16(LockTextIn(request.language, LockText::WorkstationEntry), reinterpret_cast<char16_t*>(entry), 63);
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
  }
  SendMessageW(list, CB_SETCURSEL, PreselectedEntry(request.people, request.workstationEntry), 0);
}

// Wrapped as an edit control wraps: a run without spaces, as Japanese and
// Chinese write, or a long number, breaks where the line ends.
const DWORD WRAP_ANYWHERE = SS_EDITCONTROL;

}  // namespace

void DressModernLogin(HWND login, const LoginRequest& request) {
  const HostInterface modern = HostInterface::Modern;
  LockLanguage language = request.language;
  SetShownText(login, modern, LockTextIn(language, LockText::LoginTitle));
  SetShownItemText(login, IDC_LOGIN_PROMPT, modern, LockTextIn(language, LockText::LoginPrompt));
  SetShownItemText(login, IDC_LOGIN_LABEL, modern, LockTextIn(language, LockText::PasswordLabel));
  SetShownItemText(login, IDC_LOGIN_OK, modern, LockTextIn(language, LockText::OkButton));
  if (request.people.count > 0) AddNameList(login, request);
  // Not a prefix: an "&" in the solution's line shows as itself.
  if (request.message[0] != '\0')
    SetShownText(AddControl(login, L"STATIC", SS_LEFT | SS_NOPREFIX | WRAP_ANYWHERE, IDC_LOGIN_MESSAGE), modern,
                 request.message);
  HWND prompt = GetDlgItem(login, IDC_LOGIN_PROMPT);
  SetWindowLongPtrW(prompt, GWL_STYLE, GetWindowLongPtrW(prompt, GWL_STYLE) | WRAP_ANYWHERE);
  char countdown[128];
  FillCountdown(LockTextIn(language, LockText::LoginCountdown), LONGEST_LOGIN_WAIT_SECONDS, countdown,
                sizeof countdown);
  RECT screen = MonitorAreaOf(request.guard->lockedWindows.inUse);
  FitLoginToTexts(login, countdown, screen.bottom - screen.top);
}
