#include "win32/LockScreen.h"

#include <cstring>

#include "portable/engine/LoginDelay.h"
#include "portable/engine/UnlockUsers.h"
#include "portable/text/ParameterRules.h"
#include "portable/text/UnicodeText.h"
#include "resources/ResourceIds.h"
#include "win32/HostWindows.h"
#include "win32/LoginLayout.h"
#include "win32/MessagePump.h"
#include "win32/ModuleReference.h"
#include "win32/Monitors.h"
#include "win32/ShownText.h"
#include "win32/SystemCrypto.h"
#include "win32/Timers.h"
#include "win32/UserNameCase.h"

static_assert(PASSWORD_FIELD_LIMIT == MAX_PARAMETER_LENGTH + 1 && PASSWORD_FIELD_LIMIT < PASSWORD_SIZE,
              "the field takes every password the functions accept");
static_assert(UNICODE_PASSWORD_FIELD_LIMIT == 2 * MAX_PARAMETER_LENGTH, "254 characters of up to two units");

namespace {

// What the backdrop hands its login. What outlasts the login (the wrong
// passwords, the wait) is in the guard's locked windows.
struct LoginRequest {
  WorkstationGuard* guard;  // its locked windows are this lock's
  HostInterface hostInterface;
  bool loginCameUp;
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
void StartWait(HWND hwnd, LoginRequest& request, uint32_t endsAt);

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
  LockedWindows& lock = request.guard->lockedWindows;
  lock.backdrop = hwnd;
  // A login that comes back keeps the window in use of the lock's start.
  HWND inUse = lock.inUse ? lock.inUse : FindHostWindowInUseOrFallback();
  lock.inUse = BelongsToThisProcess(inUse) ? inUse : nullptr;
  HideHostWindows(*request.guard);
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
  RECT screen = MonitorAreaOf(request.guard->lockedWindows.inUse);
  FitLoginToTexts(hwnd, countdown, screen.bottom - screen.top);
}

void InitLogin(HWND hwnd, LPARAM param) {
  SetWindowLongPtrA(hwnd, DWLP_USER, param);
  LoginRequest* request = reinterpret_cast<LoginRequest*>(param);
  request->guard->lockedWindows.login = hwnd;
  if (request->hostInterface == HostInterface::Modern) DressModernLogin(hwnd, *request);
  CentreOnHostMonitor(hwnd, request->guard->lockedWindows.inUse);
  SendDlgItemMessageA(hwnd, IDC_LOGIN_OK, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  bool unicode = request->hostInterface == HostInterface::Modern;
  SendDlgItemMessageA(hwnd, IDC_PASSWORD, EM_LIMITTEXT, unicode ? UNICODE_PASSWORD_FIELD_LIMIT : PASSWORD_FIELD_LIMIT,
                      0);
  // The password field, not the list before it: someone who only types works
  // as before.
  SetFocus(request->people.count > 0 ? GetDlgItem(hwnd, IDC_PASSWORD) : hwnd);
  request->loginCameUp = true;
  if (request->guard->lockedWindows.waiting) StartWait(hwnd, *request, request->guard->lockedWindows.waitEndsAt);
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

void ShowCountdown(HWND hwnd, const LoginRequest& request, int32_t seconds) {
  char text[128];
  FillCountdown(LockTextIn(request.language, LockText::LoginCountdown), seconds, text, sizeof text);
  SetShownItemText(hwnd, IDC_LOGIN_PROMPT, request.hostInterface, text);
}

void EnableTyping(HWND hwnd, bool enable) {
  EnableWindow(GetDlgItem(hwnd, IDC_LOGIN_OK), enable);
  HWND field = GetDlgItem(hwnd, IDC_PASSWORD);
  EnableWindow(field, enable);
  if (enable) SendMessageA(hwnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
}

// Neither the field nor OK takes anything until the deadline; the timer
// repaints the countdown meanwhile, and the host's windows go on painting.
void CountDown(HWND hwnd, LoginRequest& request) {
  LockedWindows& lock = request.guard->lockedWindows;
  if (!lock.waiting) return;
  int32_t seconds = SecondsLeftOfWait(lock.waitEndsAt, IdleClockNow());
  if (seconds > 0) return ShowCountdown(hwnd, request, seconds);
  lock.waiting = false;
  KillTimer(hwnd, LOGIN_WAIT_TIMER);
  SetShownItemText(hwnd, IDC_LOGIN_PROMPT, request.hostInterface, LockTextIn(request.language, LockText::LoginPrompt));
  EnableTyping(hwnd, true);
}

void StartWait(HWND hwnd, LoginRequest& request, uint32_t endsAt) {
  request.guard->lockedWindows.waiting = true;
  request.guard->lockedWindows.waitEndsAt = endsAt;
  EnableTyping(hwnd, false);
  SetTimer(hwnd, LOGIN_WAIT_TIMER, LOGIN_WAIT_TICK_MS, nullptr);
  CountDown(hwnd, request);
}

// One try at a digest: the typed text and the digest as they were when OK was
// pressed. The host's messages go on meanwhile, and a script they start may set
// another password: that applies from the next try.
struct Derivation {
  char typed[PASSWORD_SIZE];
  PasswordDigest digest;
  bool matches;
  LONG holders;    // the login and the worker: the last to let go wipes and frees it
  HMODULE module;  // the worker's own reference to this code
};

enum class TryResult { Wrong, Right, Abandoned };

void LetGo(Derivation* d) {
  if (InterlockedDecrement(&d->holders) != 0) return;
  SecureZeroMemory(d, sizeof *d);
  HeapFree(GetProcessHeap(), 0, d);
}

// The worker may outlive the login and the plug-in's shutdown: it touches only
// its own copy, and the module stays mapped until it has returned.
DWORD WINAPI DeriveTyped(LPVOID param) {
  Derivation* d = static_cast<Derivation*>(param);
  d->matches = PasswordMatchesDigest(d->typed, d->digest);
  HMODULE module = d->module;
  LetGo(d);
  FreeLibraryAndExitThread(module, 0);
  return 0;
}

// The derivation takes a noticeable moment (600,000 rounds, or as many as the
// digest asks): it runs on a thread of its own while this one goes on painting,
// and keys pressed meanwhile, or still queued when it ends, are dropped, so
// that an Enter queues no second try and closes no refusal unseen. The
// plug-in's shutdown or a WM_QUIT (handed back) abandons it at once: the
// worker finishes alone and nothing of its answer is used.
TryResult CheckOnWorker(HWND hwnd, const LockedWindows& lock, Derivation* d) {
  d->holders = 2;
  d->module = ReferenceToThisModule();
  HANDLE thread = d->module ? CreateThread(nullptr, 0, DeriveTyped, d, 0, nullptr) : nullptr;
  if (!thread) {
    if (d->module) FreeLibrary(d->module);
    bool right = PasswordMatchesDigest(d->typed, d->digest);
    LetGo(d), LetGo(d);
    return right ? TryResult::Right : TryResult::Wrong;
  }
  EnableTyping(hwnd, false);
  bool quit = false, done = false;
  int quitCode = 0;
  while (!quit && !lock.ending && !done) {
    done = MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0;
    quit |= DispatchMessagesDroppingKeys(quitCode);
  }
  CloseHandle(thread);
  bool abandoned = quit || lock.ending;
  bool right = !abandoned && d->matches;
  LetGo(d);
  if (quit) PostQuitMessage(quitCode);  // the host's, handed back
  if (abandoned) return TryResult::Abandoned;
  EnableTyping(hwnd, true);
  return right ? TryResult::Right : TryResult::Wrong;
}

TryResult MatchesDigest(HWND hwnd, LoginRequest& request, const PasswordDigest& digest) {
  Derivation* d = static_cast<Derivation*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(Derivation)));
  if (!d) {  // no room for the worker's copy: checked here, the host waiting
    char typed[PASSWORD_SIZE] = "";
    ReadTyped(hwnd, request.hostInterface, typed, sizeof typed);
    bool right = PasswordMatchesDigest(typed, digest);
    SecureZeroMemory(typed, sizeof typed);
    return right ? TryResult::Right : TryResult::Wrong;
  }
  ReadTyped(hwnd, request.hostInterface, d->typed, sizeof d->typed);
  d->digest = digest;
  request.checking = true;
  TryResult result = CheckOnWorker(hwnd, request.guard->lockedWindows, d);
  request.checking = false;
  return result;
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

// One derivation a try, against the chosen entry only, as it is in force now:
// a person removed since the lock opened opens nothing.
TryResult TypedMatches(HWND hwnd, LoginRequest& request) {
  const Settings& s = request.guard->state.settings;
  int chosen = ChosenEntry(hwnd, request);
  if (chosen == NOBODY_UNLOCKED) return TryResult::Wrong;
  request.unlockedBy = chosen;
  if (chosen >= 0) {
    int now = FindUnlockUser(s.unlockUsers, request.people.users[chosen].name, SameUserName);
    if (now < 0) return TryResult::Wrong;
    PasswordDigest digest = s.unlockUsers.users[now].digest;
    return MatchesDigest(hwnd, request, digest);
  }
  if (s.passwordKind == PasswordKind::Digest) {
    PasswordDigest digest = s.digest;
    return MatchesDigest(hwnd, request, digest);
  }
  char typed[PASSWORD_SIZE] = "";
  ReadTyped(hwnd, request.hostInterface, typed, sizeof typed);
  bool right = std::strcmp(typed, s.password) == 0;
  SecureZeroMemory(typed, sizeof typed);
  return right ? TryResult::Right : TryResult::Wrong;
}

void CheckPassword(HWND hwnd) {
  LoginRequest* request = RequestOf(hwnd);
  // An OK that came anyway, such as a posted click, during a wait or a check.
  if (!request || request->guard->lockedWindows.waiting || request->checking) return;
  TryResult result = TypedMatches(hwnd, *request);
  if (result == TryResult::Abandoned) return;  // the login is ending: nothing of the try counts
  if (result == TryResult::Right) {
    EndDialog(hwnd, 1);
    EndDialog(GetWindow(hwnd, GW_OWNER), 1);  // this login's own backdrop
    return;
  }
  WipePasswordField(hwnd);
  int32_t wait = SecondsToWaitAfterWrongPassword(++request->guard->lockedWindows.wrongPasswords);
  if (wait > 0) StartWait(hwnd, *request, IdleClockNow() + static_cast<uint32_t>(wait) * 1000);
  ShowLockMessageBox(hwnd, request->hostInterface, request->language, LockText::RefusalMessage, LockText::RefusalTitle,
                     MB_OK | MB_ICONHAND);
}

// A host window shown during the lock is hidden again; if it took the
// foreground, the lock's own front window gets it back. The login's own
// windows (its open name list, its refusal) keep the keyboard, and so does
// another program the person works in: its keys must not land in the login.
void WatchHostWindows(WorkstationGuard& guard) {
  LockedWindows& lock = guard.lockedWindows;
  if (HideHostWindows(guard) == 0 || !lock.login) return;
  HWND front = GetForegroundWindow();
  if (front && (!BelongsToThisProcess(front) || IsPluginWindow(guard, front))) return;
  SetForegroundWindow(GetLastActivePopup(lock.login));
}

INT_PTR CALLBACK BackdropProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    InitBackdrop(hwnd, *reinterpret_cast<LoginRequest*>(lParam));
    return TRUE;
  }
  LoginRequest* request = RequestOf(hwnd);
  if (message == WM_TIMER && wParam == LOCK_WATCH_TIMER && request) WatchHostWindows(*request->guard);
  return FALSE;
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

LockEnd RunLockScreen(HINSTANCE instance, WorkstationGuard& guard, LoginOutcome* outcome) {
  GuardState& state = guard.state;
  LockedWindows& lock = guard.lockedWindows;
  if (state.lockIsUp && !lock.held) return LockEnd::AlreadyUp;
  if (!lock.held) {
    lock.wrongPasswords = 0;
    lock.waiting = false;
  }
  state.lockIsUp = true;
  lock.held = lock.ending = false;
  const Settings& settings = state.settings;
  LoginRequest request = {};
  request.guard = &guard;
  request.hostInterface = guard.hostInterface;
  request.language = ShownLanguage(guard.hostInterface);
  request.unlockedBy = NOBODY_UNLOCKED;
  // People added or removed, or a line set, while the lock is up show from the next lock.
  if (guard.hostInterface == HostInterface::Modern) {
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
  // Only the password and the shutdown show the host again. A login that came
  // up and ended otherwise keeps the windows hidden; one that never came up
  // gives them back, as a backdrop with nothing to type into would hold the
  // screen for good.
  if (!unlocked && request.loginCameUp && !lock.ending) {
    lock.held = true;
    return LockEnd::Held;
  }
  GiveBackHostWindows(lock);
  state.lockIsUp = false;
  return unlocked ? LockEnd::Unlocked : LockEnd::GivenBack;
}

void EndLockScreen(WorkstationGuard& guard) {
  LockedWindows& lock = guard.lockedWindows;
  lock.ending = true;
  if (lock.login) {
    HWND box = GetLastActivePopup(lock.login);  // "Incorrect password", if it is up
    if (box != lock.login) PostMessageA(box, WM_CLOSE, 0, 0);
    EndDialog(lock.login, 0);
  }
  if (lock.backdrop) EndDialog(lock.backdrop, 0);
  GiveBackHostWindows(lock);
  // A held lock has no loop of its own to end.
  if (lock.held) lock.held = guard.state.lockIsUp = false;
}
