#include "win32/GuardLifetime.h"

#include "win32/HostWindows.h"
#include "win32/TimerDialog.h"

void StartGuard(WorkstationGuard& guard, HINSTANCE instance, HostTextKind hostText) {
  guard.instance = instance;
  guard.hostText = hostText;
  // The exit-record action on a list view types only while the cursor shown
  // differs from this one.
  guard.exitRecord.cursorAtInit = GetCursor();
  DestroyTimerDialog(guard);
  ForgetFoundWindow();
  ResetForInit(guard.state);
  guard.panelScriptTimer = PanelScriptTimer();
}

void StopGuard(WorkstationGuard& guard) {
  DestroyTimerDialog(guard);
  // The password must not outlive the plug-in in the host's memory. A lock
  // that is up still needs it: only its password may end it.
  if (!guard.state.lockIsUp) SecureZeroMemory(guard.state.settings.password, sizeof guard.state.settings.password);
}
