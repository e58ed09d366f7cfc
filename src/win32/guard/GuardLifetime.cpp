#include "win32/guard/GuardLifetime.h"

#include "win32/guard/TimerDialog.h"
#include "win32/lock/LockScreen.h"
#include "win32/system/HostWindows.h"
#include "win32/watch/ActivityWatch.h"
#include "win32/watch/SessionNotifications.h"

void StartGuard(WorkstationGuard& guard, HINSTANCE instance, HostInterface hostInterface) {
  guard.instance = instance;
  guard.hostInterface = hostInterface;
  // The exit-record action on a list view types only while the cursor shown
  // differs from this one.
  guard.exitRecord.cursorAtInit = GetCursor();
  DestroyTimerDialog(guard);
  ForgetFoundWindow();
  WatchHostWindowsOf(hostInterface);
  ResetForInit(guard.state);
  // Whatever notices came before, or never came, Windows tells where it can.
  TakeSessionReport(guard.state, AskWindowsForSession());
  guard.panelScriptTimer = PanelScriptTimer();
  // No limit is set after an init: the watching thread comes with the first.
  StopActivityWatch(guard.activityWatch);
  ReopenHeldLock(guard);                                                // its timer went with the dialog
  if (guard.state.waitingLock.due) EnsureTimerDialog(guard, instance);  // so did this one's
}

void StopGuard(WorkstationGuard& guard) {
  // A lock still up ends with the plug-in: the host's windows must not stay
  // hidden for good behind a plug-in that is going away.
  if (guard.state.lockIsUp || guard.lockedWindows.cover) EndLockScreen(guard);
  DestroyTimerDialog(guard);
  StopActivityWatch(guard.activityWatch);
  // Notices that come while no window listens are missed: nothing of the
  // session's state outlives the plug-in.
  guard.state.windows = WindowsSession();
  // The password must not outlive the plug-in in the host's memory; what is
  // left, and the status tells, is no password. A digest stays in force: it
  // holds no password, and keeps the lock shut if the plug-in comes back.
  Settings& s = guard.state.settings;
  SecureZeroMemory(s.password, sizeof s.password);
  if (s.passwordKind == PasswordKind::Plain) s.passwordKind = PasswordKind::None;
}
