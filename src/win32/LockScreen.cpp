#include "win32/LockScreen.h"

#include <cstring>

#include "portable/engine/LoginDelay.h"
#include "portable/text/ParameterRules.h"
#include "portable/text/UnicodeText.h"
#include "resources/ResourceIds.h"
#include "win32/HostWindows.h"
#include "win32/LoginLayout.h"
#include "win32/MessagePump.h"
#include "win32/Monitors.h"
#include "win32/ShownText.h"
#include "win32/SystemCrypto.h"

static_assert(PASSWORD_FIELD_LIMIT == MAX_PARAMETER_LENGTH + 1 && PASSWORD_FIELD_LIMIT < PASSWORD_SIZE,
              "the field takes every password the functions accept");
static_assert(UNICODE_PASSWORD_FIELD_LIMIT == 2 * MAX_PARAMETER_LENGTH, "254 characters of up to two units");

namespace {

// What the backdrop hands its login, and what the login counts for this lock.
struct LoginRequest {
  const Settings* settings;
  HostInterface hostInterface;
  LockedWindows* lock;
  int wrongInARow;        // wrong passwords since the lock opened
  int32_t secondsToWait;  // before the next try; 0 while the field takes one
  bool checking;          // a typed password is being derived
  LockLanguage language;  // of every text the login shows
  // The solution's line as it was when the lock opened, ready to show; empty for none.
  char message[2 * LOCK_MESSAGE_SIZE];
  // The people of a shared desk as they were when the lock opened, and whether
  // the workstation's own entry follows them in the list.
  UnlockUsers people;
  bool workstationEntry;
  int unlockedBy;  // the person whose password ended the lock, or WORKSTATION_UNLOCKED
};

HINSTANCE InstanceOf(HWND hwnd) { return reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(hwnd, GWLP_HINSTANCE)); }

INT_PTR CALLBACK LoginProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// A Unicode login dialog only where the text is Unicode: the 32-bit build also
// runs on Windows 95, whose wide dialog functions do nothing.
INT_PTR RunLogin(HWND backdrop, LoginRequest& request) {
  LPARAM param = reinterpret_cast<LPARAM>(&request);
  if (request.hostInterface == HostInterface::Modern)
    return DialogBoxParamW(InstanceOf(backdrop), MAKEINTRESOURCEW(IDD_LOGIN), backdrop, LoginProc, param);
  return DialogBoxParamA(InstanceOf(backdrop), MAKEINTRESOURCEA(IDD_LOGIN), backdrop, LoginProc, param);
}

void InitBackdrop(HWND hwnd, LoginRequest& request) {
  // Every monitor: none may go on showing the host beside the lock.
  RECT d = VirtualScreen();
  SetWindowPos(hwnd, HWND_TOP, d.left, d.top, d.right - d.left, d.bottom - d.top, SWP_SHOWWINDOW);
  SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(&request));
  LockedWindows& lock = *request.lock;
  lock.backdrop = hwnd;
  HWND inUse = FindHostWindowInUseOrFallback();
  lock.inUse = BelongsToThisProcess(inUse) ? inUse : nullptr;
  HideHostWindows(lock);
  SetTimer(hwnd, LOCK_WATCH_TIMER, LOCK_WATCH_TICK_MS, nullptr);
  SetFocus(hwnd);
  INT_PTR login = RunLogin(hwnd, request);
  // The login ends only on the right password. Anything else means it never
  // came up: a backdrop with nothing to type into would hold the screen forever.
  if (login != 1) EndDialog(hwnd, 0);
}

LoginRequest* RequestOf(HWND login) { return reinterpret_cast<LoginRequest*>(GetWindowLongPtrA(login, DWLP_USER)); }

// Centred on the monitor that showed the host, where the user looks.
void CentreOnHostMonitor(HWND hwnd, HWND host) {
  RECT d = MonitorAreaOf(host);
  RECT r;
  if (!GetWindowRect(hwnd, &r)) return;
  LONG x = d.left + (d.right - d.left - (r.right - r.left)) / 2;
  LONG y = d.top + (d.bottom - d.top - (r.bottom - r.top)) / 2;
  SetWindowPos(hwnd, HWND_TOP, x, y, 0, 0, SWP_NOSIZE);
}

// A child of the login in the login's font, first in the tab order; the
// layout places it.
HWND AddControl(HWND hwnd, const wchar_t* windowClass, DWORD style, int id) {
  HWND control = CreateWindowExW(0, windowClass, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, hwnd,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), InstanceOf(hwnd), nullptr);
  SendMessageW(control, WM_SETFONT, SendMessageW(hwnd, WM_GETFONT, 0, 0), FALSE);
  SetWindowPos(control, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  return control;
}

// At a shared desk: the list of who unlocks, above the password row; the
// people in the order they were added, then the workstation's own entry when
// it has a password.
void AddNameList(HWND hwnd, const LoginRequest& request) {
  HWND list = AddControl(hwnd, L"COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, IDC_LOGIN_NAME);
  HWND label = AddControl(hwnd, L"STATIC", SS_LEFT, IDC_LOGIN_NAME_LABEL);
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

// Under FileMaker 7 and later: the texts in the user's language, the shared
// desk's list and the solution's line where they are set, and a layout that
// fits them all. FileMaker Pro 5 and 6 keep the template as it stands.
void DressModernLogin(HWND hwnd, const LoginRequest& request) {
  const HostInterface modern = HostInterface::Modern;
  LockLanguage language = request.language;
  SetShownText(hwnd, modern, LockTextIn(language, LockText::LoginTitle));
  SetShownItemText(hwnd, IDC_LOGIN_PROMPT, modern, LockTextIn(language, LockText::LoginPrompt));
  SetShownItemText(hwnd, IDC_LOGIN_LABEL, modern, LockTextIn(language, LockText::PasswordLabel));
  SetShownItemText(hwnd, IDC_LOGIN_OK, modern, LockTextIn(language, LockText::OkButton));
  if (request.people.count > 0) AddNameList(hwnd, request);
  // Not a prefix: an "&" in the solution's line shows as itself.
  if (request.message[0] != '\0')
    SetShownText(AddControl(hwnd, L"STATIC", SS_LEFT | SS_NOPREFIX | WRAP_ANYWHERE, IDC_LOGIN_MESSAGE), modern,
                 request.message);
  HWND prompt = GetDlgItem(hwnd, IDC_LOGIN_PROMPT);
  SetWindowLongPtrW(prompt, GWL_STYLE, GetWindowLongPtrW(prompt, GWL_STYLE) | WRAP_ANYWHERE);
  char countdown[128];
  FillCountdown(LockTextIn(language, LockText::LoginCountdown), LONGEST_LOGIN_WAIT_SECONDS, countdown,
                sizeof countdown);
  RECT screen = MonitorAreaOf(request.lock->inUse);
  FitLoginToTexts(hwnd, countdown, screen.bottom - screen.top);
}

void InitLogin(HWND hwnd, LPARAM param) {
  SetWindowLongPtrA(hwnd, DWLP_USER, param);
  LoginRequest* request = reinterpret_cast<LoginRequest*>(param);
  request->lock->login = hwnd;
  if (request->hostInterface == HostInterface::Modern) DressModernLogin(hwnd, *request);
  CentreOnHostMonitor(hwnd, request->lock->inUse);
  SendDlgItemMessageA(hwnd, IDC_LOGIN_OK, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  bool unicode = request->hostInterface == HostInterface::Modern;
  SendDlgItemMessageA(hwnd, IDC_PASSWORD, EM_LIMITTEXT, unicode ? UNICODE_PASSWORD_FIELD_LIMIT : PASSWORD_FIELD_LIMIT,
                      0);
  // The password field, not the list before it: someone who only types works
  // as before.
  SetFocus(request->people.count > 0 ? GetDlgItem(hwnd, IDC_PASSWORD) : hwnd);
}

// What is typed, in the host interface's text, as the password is kept.
void ReadTyped(HWND hwnd, HostInterface hostInterface, char* typed, size_t size) {
  if (hostInterface == HostInterface::Modern) {
    WCHAR units[UNICODE_PASSWORD_FIELD_LIMIT + 1] = L"";
    int count = GetDlgItemTextW(hwnd, IDC_PASSWORD, units, UNICODE_PASSWORD_FIELD_LIMIT + 1);
    static_assert(sizeof(WCHAR) == sizeof(char16_t), "UTF-16 units");
    Utf16ToUtf8(reinterpret_cast<const char16_t*>(units), count > 0 ? count : 0, typed, size);
    SecureZeroMemory(units, sizeof units);
  } else {
    GetDlgItemTextA(hwnd, IDC_PASSWORD, typed, static_cast<int>(size));
  }
}

void ShowCountdown(HWND hwnd, const LoginRequest& request) {
  char text[128];
  FillCountdown(LockTextIn(request.language, LockText::LoginCountdown), request.secondsToWait, text, sizeof text);
  SetShownItemText(hwnd, IDC_LOGIN_PROMPT, request.hostInterface, text);
}

void EnableTyping(HWND hwnd, bool enable) {
  EnableWindow(GetDlgItem(hwnd, IDC_LOGIN_OK), enable);
  HWND field = GetDlgItem(hwnd, IDC_PASSWORD);
  EnableWindow(field, enable);
  if (enable) SendMessageA(hwnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
}

// Neither the field nor OK takes anything until the wait is over; a timer
// counts it down, so the host's windows go on painting meanwhile.
void StartWait(HWND hwnd, LoginRequest& request, int32_t seconds) {
  request.secondsToWait = seconds;
  EnableTyping(hwnd, false);
  ShowCountdown(hwnd, request);
  SetTimer(hwnd, LOGIN_WAIT_TIMER, LOGIN_WAIT_TICK_MS, nullptr);
}

void CountDown(HWND hwnd, LoginRequest& request) {
  if (request.secondsToWait > 0) --request.secondsToWait;
  if (request.secondsToWait > 0) return ShowCountdown(hwnd, request);
  KillTimer(hwnd, LOGIN_WAIT_TIMER);
  SetShownItemText(hwnd, IDC_LOGIN_PROMPT, request.hostInterface, LockTextIn(request.language, LockText::LoginPrompt));
  EnableTyping(hwnd, true);
}

// One try at a digest, owned by its worker: the typed text and the digest as
// they were when OK was pressed. The host's messages go on meanwhile, and a
// script they start may set another password: that applies from the next try.
struct Derivation {
  char typed[PASSWORD_SIZE];
  PasswordDigest digest;
  bool matches;
};

DWORD WINAPI DeriveTyped(LPVOID param) {
  Derivation& d = *static_cast<Derivation*>(param);
  d.matches = PasswordMatchesDigest(d.typed, d.digest);
  return 0;
}

// The derivation takes a noticeable moment (600,000 rounds): it runs on a
// thread of its own while this one goes on painting, and keys pressed
// meanwhile, or still queued when it ends, are dropped, so that an Enter
// queues no second try and closes no refusal unseen.
bool MatchesOnWorker(HWND hwnd, Derivation& d) {
  HANDLE thread = CreateThread(nullptr, 0, DeriveTyped, &d, 0, nullptr);
  if (!thread) return PasswordMatchesDigest(d.typed, d.digest);
  EnableTyping(hwnd, false);
  bool quit = false;
  int quitCode = 0;
  while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0)
    quit |= DispatchMessagesDroppingKeys(quitCode);
  CloseHandle(thread);
  quit |= DispatchMessagesDroppingKeys(quitCode);
  if (quit) PostQuitMessage(quitCode);  // the host's, handed back
  EnableTyping(hwnd, true);
  return d.matches;
}

// The person chosen in the list, WORKSTATION_UNLOCKED for the workstation's
// entry (or where there is no list), NOBODY_UNLOCKED when nothing is chosen.
int ChosenEntry(HWND hwnd, const LoginRequest& request) {
  if (request.people.count == 0) return WORKSTATION_UNLOCKED;
  LRESULT chosen = SendDlgItemMessageW(hwnd, IDC_LOGIN_NAME, CB_GETCURSEL, 0, 0);
  if (chosen >= 0 && chosen < request.people.count) return static_cast<int>(chosen);
  if (chosen == request.people.count && request.workstationEntry) return WORKSTATION_UNLOCKED;
  return NOBODY_UNLOCKED;
}

// One derivation a try, against the chosen entry only.
bool TypedMatches(HWND hwnd, LoginRequest& request) {
  const Settings& s = *request.settings;
  int chosen = ChosenEntry(hwnd, request);
  if (chosen == NOBODY_UNLOCKED) return false;
  request.unlockedBy = chosen;
  bool person = chosen >= 0;
  if (!person && s.passwordKind != PasswordKind::Digest) {
    char typed[PASSWORD_SIZE] = "";
    ReadTyped(hwnd, request.hostInterface, typed, sizeof typed);
    bool right = std::strcmp(typed, s.password) == 0;
    SecureZeroMemory(typed, sizeof typed);
    return right;
  }
  Derivation d;
  ReadTyped(hwnd, request.hostInterface, d.typed, sizeof d.typed);
  d.digest = person ? request.people.users[chosen].digest : s.digest;
  d.matches = false;
  request.checking = true;
  bool right = MatchesOnWorker(hwnd, d);
  request.checking = false;
  SecureZeroMemory(&d, sizeof d);
  return right;
}

void CheckPassword(HWND hwnd) {
  LoginRequest* request = RequestOf(hwnd);
  // An OK that came anyway, such as a posted click, during a wait or a check.
  if (!request || request->secondsToWait > 0 || request->checking) return;
  if (TypedMatches(hwnd, *request)) {
    EndDialog(hwnd, 1);
    EndDialog(GetWindow(hwnd, GW_OWNER), 1);  // this login's own backdrop
    return;
  }
  SetDlgItemTextA(hwnd, IDC_PASSWORD, "");
  int32_t wait = SecondsToWaitAfterWrongPassword(++request->wrongInARow);
  if (wait > 0) StartWait(hwnd, *request, wait);
  ShowLockMessageBox(hwnd, request->hostInterface, request->language, LockText::RefusalMessage, LockText::RefusalTitle,
                     MB_OK | MB_ICONHAND);
}

// A host window shown during the lock is hidden again; if it took the
// foreground, the lock's own front window gets it back.
void WatchHostWindows(LockedWindows& lock) {
  if (HideHostWindows(lock) == 0 || !lock.login) return;
  HWND front = GetLastActivePopup(lock.login);
  if (GetForegroundWindow() != front) SetForegroundWindow(front);
}

INT_PTR CALLBACK BackdropProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    InitBackdrop(hwnd, *reinterpret_cast<LoginRequest*>(lParam));
    return TRUE;
  }
  LoginRequest* request = RequestOf(hwnd);
  if (message == WM_TIMER && wParam == LOCK_WATCH_TIMER && request) WatchHostWindows(*request->lock);
  return FALSE;
}

INT_PTR CALLBACK LoginProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG)
    InitLogin(hwnd, lParam);
  else if (message == WM_COMMAND && LOWORD(wParam) == IDC_LOGIN_OK)
    CheckPassword(hwnd);
  else if (message == WM_TIMER && wParam == LOGIN_WAIT_TIMER && RequestOf(hwnd))
    CountDown(hwnd, *RequestOf(hwnd));
  return FALSE;
}

}  // namespace

bool RunLockScreen(HINSTANCE instance, const Settings& settings, bool& lockIsUp, LockedWindows& lock,
                   HostInterface hostInterface, LoginOutcome* outcome) {
  if (lockIsUp) return false;
  lockIsUp = true;
  LoginRequest request = {};
  request.settings = &settings;
  request.hostInterface = hostInterface;
  request.lock = &lock;
  request.language = ShownLanguage(hostInterface);
  request.unlockedBy = NOBODY_UNLOCKED;
  // People added or removed, or a line set, while the lock is up count from the next lock.
  if (hostInterface == HostInterface::Modern) {
    request.people = settings.unlockUsers;
    LockMessageForDisplay(settings.lockMessage, request.message, sizeof request.message);
  }
  request.workstationEntry = settings.passwordKind != PasswordKind::None;
  bool unlocked = DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_BACKDROP), nullptr, BackdropProc,
                                  reinterpret_cast<LPARAM>(&request)) == 1;
  if (outcome) {
    outcome->namesUser = request.people.count > 0;
    const char* user = request.unlockedBy >= 0 ? request.people.users[request.unlockedBy].name : "";
    std::strncpy(outcome->user, user, USER_NAME_SIZE);
  }
  // Both dialogs are gone now: what they activated on their way out, the
  // window in use replaces.
  lock.backdrop = lock.login = nullptr;
  lock.wrongPasswords = request.wrongInARow;
  GiveBackHostWindows(lock);
  lockIsUp = false;
  return unlocked;
}

void EndLockScreen(LockedWindows& lock) {
  if (lock.login) {
    HWND box = GetLastActivePopup(lock.login);  // "Incorrect password", if it is up
    if (box != lock.login) PostMessageA(box, WM_CLOSE, 0, 0);
    EndDialog(lock.login, 0);
  }
  if (lock.backdrop) EndDialog(lock.backdrop, 0);
  GiveBackHostWindows(lock);
}
