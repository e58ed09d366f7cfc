#include "win32/lock/LockScreen.h"

#include "resources/ResourceIds.h"
#include "win32/lock/HiddenHostWindows.h"
#include "win32/lock/Login.h"
#include "win32/lock/ShownText.h"
#include "win32/system/HostWindows.h"
#include "win32/system/Monitors.h"
#include "win32/system/PluginWindows.h"

namespace {

void InitBackdrop(HWND hwnd, LoginRequest& request) {
  // Every monitor: none may go on showing the host beside the lock.
  RECT d = VirtualScreen();
  SetWindowPos(hwnd, HWND_TOP, d.left, d.top, d.right - d.left, d.bottom - d.top, SWP_SHOWWINDOW);
  SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(&request));
  LockedWindows& lock = request.guard->lockedWindows;
  DropCover(lock);
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
  if (message == WM_TIMER && wParam == LOCK_WATCH_TIMER && request && !request->passwordTaken)
    WatchHostWindows(*request->guard);
  return FALSE;
}

// What the login shows, as the settings are when the lock opens: people added
// or removed, or a line set, while the lock is up show from the next lock.
void PrepareLogin(WorkstationGuard& guard, LoginRequest& request) {
  const Settings& settings = guard.state.settings;
  request.guard = &guard;
  request.hostInterface = guard.hostInterface;
  request.language = ShownLanguage(guard.hostInterface);
  request.unlockedBy = NOBODY_UNLOCKED;
  if (guard.hostInterface == HostInterface::Modern) {
    request.people = settings.unlockUsers;
    LockMessageForDisplay(settings.lockMessage, request.message, sizeof request.message);
  }
  request.workstationEntry = settings.passwordKind != PasswordKind::None;
}

}  // namespace

LockEnd RunLockScreen(HINSTANCE instance, WorkstationGuard& guard) {
  GuardState& state = guard.state;
  LockedWindows& lock = guard.lockedWindows;
  LockSession& session = guard.lockSession;
  if (state.lockIsUp && !session.held) return LockEnd::AlreadyUp;
  if (!session.held) {
    session.wrongPasswords = 0;
    session.waiting = false;
  }
  state.lockIsUp = true;
  session.held = session.ending = false;
  LoginRequest request = {};
  PrepareLogin(guard, request);
  DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_BACKDROP), nullptr, BackdropProc, reinterpret_cast<LPARAM>(&request));
  // Both dialogs are gone now. Any lock that opened since the password (a box
  // left open runs its loop above this one) has ended on its way here.
  lock.backdrop = lock.login = nullptr;
  // The password ended the lock when it was typed; nothing is left to undo.
  if (request.passwordTaken) return LockEnd::Unlocked;
  // Only the password and the shutdown show the host again. A login that came
  // up and ended otherwise keeps the windows hidden; one that never came up
  // gives them back, as a backdrop with nothing to type into would hold the
  // screen for good.
  if (request.loginCameUp && !session.ending) {
    session.held = true;
    return LockEnd::Held;
  }
  GiveBackHostWindows(lock);
  state.lockIsUp = false;
  return LockEnd::GivenBack;
}

void EndLockScreen(WorkstationGuard& guard) {
  LockedWindows& lock = guard.lockedWindows;
  DropCover(lock);
  LockSession& session = guard.lockSession;
  session.ending = true;
  if (lock.login) {
    HWND box = GetLastActivePopup(lock.login);  // "Incorrect password", if it is up
    if (box != lock.login) PostMessageA(box, WM_CLOSE, 0, 0);
    EndDialog(lock.login, 0);
  }
  if (lock.backdrop) EndDialog(lock.backdrop, 0);
  GiveBackHostWindows(lock);
  // A held lock has no loop of its own to end.
  if (session.held) session.held = guard.state.lockIsUp = false;
}
