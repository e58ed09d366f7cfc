#include "win32/lock/LoginWait.h"

#include "portable/engine/LoginDelay.h"
#include "resources/ResourceIds.h"
#include "win32/lock/ShownText.h"
#include "win32/watch/Timers.h"

namespace {

void ShowCountdown(HWND login, const LoginRequest& request, int32_t seconds) {
  char text[128];
  FillCountdown(LockTextIn(request.language, LockText::LoginCountdown), seconds, text, sizeof text);
  SetShownItemText(login, IDC_LOGIN_PROMPT, request.hostInterface, text);
}

}  // namespace

void EnableTyping(HWND login, bool enable) {
  EnableWindow(GetDlgItem(login, IDC_LOGIN_OK), enable);
  HWND field = GetDlgItem(login, IDC_PASSWORD);
  EnableWindow(field, enable);
  if (enable) SendMessageA(login, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
}

// The timer repaints the countdown meanwhile, and the host's windows go on painting.
void CountDown(HWND login, LoginRequest& request) {
  LockSession& session = request.guard->lockSession;
  if (!session.waiting) return;
  int32_t seconds = SecondsLeftOfWait(session.waitEndsAt, IdleClockNow());
  if (seconds > 0) return ShowCountdown(login, request, seconds);
  session.waiting = false;
  KillTimer(login, LOGIN_WAIT_TIMER);
  SetShownItemText(login, IDC_LOGIN_PROMPT, request.hostInterface, LockTextIn(request.language, LockText::LoginPrompt));
  EnableTyping(login, true);
}

void StartWait(HWND login, LoginRequest& request, uint32_t endsAt) {
  request.guard->lockSession.waiting = true;
  request.guard->lockSession.waitEndsAt = endsAt;
  EnableTyping(login, false);
  SetTimer(login, LOGIN_WAIT_TIMER, LOGIN_WAIT_TICK_MS, nullptr);
  CountDown(login, request);
}
