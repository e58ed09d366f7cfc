// The lock screen (see LockScreenTest.cpp) in the host's life: a WM_QUIT, a
// try against the settings of its moment, every host window.
#include "LockScreenFixture.h"

namespace {

// A WM_QUIT that ends the login's loop opens nothing: it goes on to the host's
// loop with the windows still hidden, and the lock, run again should the host
// live on, brings the login back with the wrong passwords it had counted.
TEST_F(LockScreen, AWmQuitKeepsTheHostHiddenAndTheLoginComesBack) {
  SetPassword("pw");
  AddWaitForLogin();
  AddTyping("wrong");
  AddRejection();
  driver.Add([] {
    PostQuitMessage(9);
    return true;
  });
  driver.Start();
  UINT_PTR failsafe = SetTimer(nullptr, 0, 30000, Failsafe);
  LockEnd end = RunLockScreen(GetModuleHandleA(nullptr), Guard());
  KillTimer(nullptr, failsafe);
  driver.Stop();
  EXPECT_TRUE(driver.Finished());
  EXPECT_EQ(end, LockEnd::Held);
  EXPECT_TRUE(State().lockIsUp);
  EXPECT_FALSE(IsWindowVisible(Host())) << "nothing shown but by the password";
  EXPECT_EQ(Login(), nullptr);
  MSG quit;
  ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "handed on to the host's loop";
  EXPECT_EQ(quit.wParam, 9u);

  driver = StepDriver();
  AddWaitForLogin();
  AddTyping("wrong");
  AddRejection();
  AddTyping("pw");
  EXPECT_TRUE(Lock());
  EXPECT_EQ(Guard().lockSession.wrongPasswords, 2) << "one lock, one count";
  EXPECT_TRUE(IsWindowVisible(Host()));
}

// A script the host runs while a digest is being checked sets another
// password: this try is checked against the digest of its OK, the next lock
// against the new password.
TEST_F(LockScreen, ATryIsCheckedAgainstWhatWasInForceWhenOkWasPressed) {
  Settings& s = State().settings;
  ASSERT_TRUE(MakeDigest("Secret", s.digest));
  s.passwordKind = PasswordKind::Digest;
  bool changedDuringTheCheck = false;
  AddWaitForLogin();
  AddTyping("Secret");
  driver.Add([&] {
    if (TakesTries()) return false;  // OK pressed: the field is off until the check ends
    CallFunction(FN_SET_WORKSTATION_PASSWORD, "Other");
    changedDuringTheCheck = Login() && !TakesTries();
    return true;
  });
  EXPECT_TRUE(Lock()) << "the digest in force when OK was pressed";
  EXPECT_TRUE(changedDuringTheCheck);
  EXPECT_EQ(rejections, 0);

  driver = StepDriver();
  AddWaitForLogin();
  AddTyping("Secret");
  AddRejection();
  AddTyping("Other");
  EXPECT_TRUE(Lock()) << "the password set meanwhile, from the next try on";
  EXPECT_EQ(rejections, 1);
}

// Every window of the host goes behind the lock; one shown during the lock goes
// at the lock's next tick (sent by hand); exactly those come back, the window in
// use in front.
TEST_F(LockScreen, EveryHostWindowIsHiddenANewOneAtTheNextTickAndExactlyThoseComeBack) {
  SetPassword("pw");
  HWND second = TopWindow("FMPRO6APP", "second document");
  HWND hiddenBefore = TopWindow("FMPRO6APP", "hidden before the lock", false);
  BringWindowToFront(second);
  ASSERT_TRUE(PumpUntil([second] { return GetForegroundWindow() == second; }, 2000));
  HWND late = nullptr, inUse = nullptr;
  bool allHidden = false, watchRan = false, lateShown = false, lateHidden = false;
  AddWaitForLogin();
  driver.Add([&] {
    allHidden = !IsWindowVisible(Host()) && !IsWindowVisible(second);
    inUse = Guard().lockedWindows.inUse;
    watchRan = KillTimer(Backdrop(), LOCK_WATCH_TIMER) != FALSE;
    late = TopWindow("FMHostPalette", "shown during the lock");
    lateShown = IsWindowVisible(late);
    SendMessageA(Backdrop(), WM_TIMER, LOCK_WATCH_TIMER, 0);
    lateHidden = !IsWindowVisible(late);
    return true;
  });
  AddWaitForLogin();  // the login has the keys again
  AddTyping("pw");
  EXPECT_TRUE(Lock());
  EXPECT_TRUE(allHidden);
  EXPECT_EQ(inUse, second) << "the host window in front when the lock came";
  EXPECT_TRUE(watchRan) << "a timer watches the host's windows";
  EXPECT_TRUE(lateShown && lateHidden) << "one tick hides a window shown during the lock";
  EXPECT_TRUE(IsWindowVisible(Host()) && IsWindowVisible(second) && IsWindowVisible(late));
  EXPECT_FALSE(IsWindowVisible(hiddenBefore)) << "hidden before the lock, hidden after it";
  EXPECT_EQ(GetForegroundWindow(), second);
  EXPECT_EQ(Guard().lockedWindows.hiddenCount, 0);
  for (HWND hwnd : {second, hiddenBefore, late}) DestroyWindow(hwnd);
}

}  // namespace
