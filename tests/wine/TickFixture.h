// The timer dialog's ticks sent one by one as WM_TIMER, each a tick's time
// after the one before on the idle clock, so that exact counts can be checked;
// the real timers are stopped first.
#pragma once

#include <functional>

#include "PluginFixture.h"
#include "resources/ResourceIds.h"
#include "win32/watch/Timers.h"

inline int g_unlocks;
inline std::function<void()> g_atLockUp;  // runs as the login is found up, if set

// Unlocks the login dialog as soon as it is up, without keystrokes (which would
// themselves be activity).
inline void CALLBACK UnlockByCommand(HWND, UINT, UINT_PTR id, DWORD) {
  HWND login = FindWindowA(nullptr, "Please Login");
  if (!login) return;
  KillTimer(nullptr, id);
  ++g_unlocks;
  if (g_atLockUp) g_atLockUp();
  SetDlgItemTextA(login, IDC_PASSWORD, State().settings.password);
  SendMessageA(login, WM_COMMAND, IDC_LOGIN_OK, 0);
}

class TickTest : public PluginTest {
 protected:
  void SetUp() override {
    SetIdleClockForTests(&now_);
    PluginTest::SetUp();
    ASSERT_TRUE(InFront(Host()));
    GetKeyboardState(savedKeys_);
  }
  void TearDown() override {
    SetKeyboardState(savedKeys_);
    PluginTest::TearDown();
    SetIdleClockForTests(nullptr);
  }
  void StopRealTimers() { StopAllTimers(Guard().timerDialog); }
  // Each idle tick comes a tick's time after the one before, whatever the
  // machine's speed: the counts then go up by exactly one a tick.
  void Tick(UINT_PTR id) {
    if (id == RECORD_TIMER || id == FILEMAKER_TIMER) now_ += STEADY_LOOK_MS;
    SendMessageA(Guard().timerDialog, WM_TIMER, id, 0);
  }
  void Ticks(UINT_PTR id, int n) {
    for (int i = 0; i < n; ++i) Tick(id);
  }
  // A key's toggle bit flipped in the host thread's state: a keyboard change.
  void KeyboardChange() {
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_SCROLL] ^= 1;
    SetKeyboardState(state);
  }
  int Commits() { return TheFakeHost().Count("commit"); }
  void Deliver() {
    PumpUntilCommitOver();
    KillTimer(Guard().timerDialog, RESTORE_TIMER);
    PumpUntilKeysDelivered();
  }
  BYTE savedKeys_[256];
  DWORD now_ = 1000;
};
