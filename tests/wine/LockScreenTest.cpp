// The lock screen entered the way the timer dialog enters it, unlocked with real
// keystrokes typed into the password field.
#include <cstring>
#include <string>
#include <vector>

#include "PluginFixture.h"
#include "plugin/Functions.h"
#include "portable/engine/LoginDelay.h"
#include "resources/ResourceIds.h"
#include "win32/commit/WindowActivation.h"
#include "win32/lock/LockScreen.h"
#include "win32/lock/LoginWait.h"
#include "win32/system/SystemCrypto.h"
#include "win32/watch/Timers.h"

namespace {

HWND Login() { return FindWindowA(nullptr, "Please Login"); }
HWND Backdrop() { return GetWindow(Login(), GW_OWNER); }
HWND MessageBoxWindow() { return FindWindowA(nullptr, "Incorrect password"); }

BOOL CALLBACK FirstStaticText(HWND child, LPARAM out) {
  char text[256];
  if (lstrcmpiA(WindowClass(child).c_str(), "Static") == 0 && GetWindowTextA(child, text, sizeof text) > 0) {
    *reinterpret_cast<std::string*>(out) = text;
    return FALSE;
  }
  return TRUE;
}

std::string BoxText(HWND box) {
  std::string text;
  EnumChildWindows(box, FirstStaticText, reinterpret_cast<LPARAM>(&text));
  return text;
}

std::string PromptText() {
  char text[256] = "";
  GetDlgItemTextA(Login(), IDC_LOGIN_PROMPT, text, sizeof text);
  return text;
}

bool TakesTries() {
  return IsWindowEnabled(GetDlgItem(Login(), IDC_PASSWORD)) && IsWindowEnabled(GetDlgItem(Login(), IDC_LOGIN_OK));
}

std::string FieldText() {
  char text[300] = "";
  GetDlgItemTextA(Login(), IDC_PASSWORD, text, sizeof text);
  return text;
}

void CALLBACK Failsafe(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  ADD_FAILURE() << "the lock screen was still up after 30 s";
  if (MessageBoxWindow()) PostMessageA(MessageBoxWindow(), WM_CLOSE, 0, 0);
  if (Backdrop()) EndDialog(Backdrop(), 1);
  if (Login()) EndDialog(Login(), 1);
}

class LockScreen : public PluginTest {
 protected:
  // Locks as the timer dialog does; true when the password ended the lock.
  bool Lock() {
    driver.Start();
    UINT_PTR failsafe = SetTimer(nullptr, 0, 30000, Failsafe);
    bool result = RunLockScreen(GetModuleHandleA(nullptr), Guard()) == LockEnd::Unlocked;
    EXPECT_EQ(State().lockIsUp, 0);
    KillTimer(nullptr, failsafe);
    driver.Stop();
    EXPECT_TRUE(driver.Finished());
    return result;
  }
  void SetPassword(const std::string& windowsText) { lstrcpyA(State().settings.password, windowsText.c_str()); }
  void AddWaitForLogin() {
    driver.Add([] { return Login() && IsWindowVisible(Login()) && GetFocus() == GetDlgItem(Login(), IDC_PASSWORD); });
  }
  void AddTyping(const std::string& text, bool enter = true) {
    driver.Add([text, enter] {
      TypeText(text);
      if (enter) TypeKey(VK_RETURN);
      return true;
    });
  }
  // Expects the "Access Denied" box, checks it, and closes it with Enter.
  void AddRejection() {
    driver.Add([this] {
      HWND box = MessageBoxWindow();
      if (!box || !IsWindowVisible(box)) return false;
      ++rejections;
      boxText = BoxText(box);
      boxOwner = GetWindow(box, GW_OWNER);
      loginAtRejection = Login();
      fieldAfterRejection = FieldText();
      TypeKey(VK_RETURN);
      return true;
    });
    driver.Add([] { return !MessageBoxWindow() && GetFocus() == GetDlgItem(Login(), IDC_PASSWORD); });
  }
  StepDriver driver;
  int rejections = 0;
  std::string boxText, fieldAfterRejection;
  HWND boxOwner = nullptr, loginAtRejection = nullptr;
};

TEST_F(LockScreen, ExactPasswordUnlocksAndShowsTheHostAgain) {
  SetPassword("Secret");
  bool hostHiddenWhileLocked = false;
  AddWaitForLogin();
  driver.Add([&] {
    hostHiddenWhileLocked = !IsWindowVisible(Host());
    return true;
  });
  AddTyping("Secret");
  EXPECT_TRUE(Lock());
  EXPECT_TRUE(hostHiddenWhileLocked);
  EXPECT_TRUE(IsWindowVisible(Host()));
  EXPECT_EQ(Login(), nullptr);
}

TEST_F(LockScreen, OtherCaseAndTrailingSpaceAreRejected) {
  SetPassword("Secret");
  AddWaitForLogin();
  AddTyping("secret");
  AddRejection();
  AddTyping("Secret ");
  AddRejection();
  driver.Add([] { return !IsWindowVisible(TheFakeHost().main); });
  AddTyping("Secret");
  EXPECT_TRUE(Lock());
  EXPECT_EQ(rejections, 2);
  EXPECT_EQ(boxText, "Access Denied");
  EXPECT_EQ(fieldAfterRejection, "");
  EXPECT_NE(loginAtRejection, nullptr);
  EXPECT_EQ(boxOwner, loginAtRejection) << "the message box belongs to the login dialog";
}

TEST_F(LockScreen, EmptyPasswordUnlocksWithAnEmptyField) {
  SetPassword("");
  AddWaitForLogin();
  AddTyping("x");
  AddRejection();
  AddTyping("");
  EXPECT_TRUE(Lock());
  EXPECT_EQ(rejections, 1);
}

TEST_F(LockScreen, EscapeAndCloseRequestsDoNothing) {
  SetPassword("pw");
  AddWaitForLogin();
  driver.Add([] {
    TypeKey(VK_ESCAPE);
    SendMessageA(Login(), WM_CLOSE, 0, 0);
    SendMessageA(Login(), WM_SYSCOMMAND, SC_CLOSE, 0);
    SendMessageA(Login(), WM_COMMAND, IDCANCEL, 0);
    SendMessageA(Backdrop(), WM_COMMAND, IDCANCEL, 0);
    return true;
  });
  bool stillLocked = false;
  driver.Add([&] {
    PumpFor(100);
    stillLocked = Login() && IsWindowVisible(Login()) && IsWindow(Backdrop()) && !IsWindowVisible(Host());
    return true;
  });
  AddTyping("pw");
  EXPECT_TRUE(Lock());
  EXPECT_TRUE(stillLocked);
}

TEST_F(LockScreen, LoginIsCentredAndTheBackdropCoversTheDesktop) {
  SetPassword("pw");
  RECT desktop, login = {}, back = {};
  GetWindowRect(GetDesktopWindow(), &desktop);
  LONG okStyle = 0;
  AddWaitForLogin();
  driver.Add([&] {
    GetWindowRect(Login(), &login);
    GetWindowRect(Backdrop(), &back);
    okStyle = GetWindowLongA(GetDlgItem(Login(), IDC_LOGIN_OK), GWL_STYLE);
    return true;
  });
  AddTyping("pw");
  EXPECT_TRUE(Lock());
  LONG w = login.right - login.left, h = login.bottom - login.top;
  EXPECT_EQ(login.left, desktop.left + (desktop.right - desktop.left - w) / 2);
  EXPECT_EQ(login.top, desktop.top + (desktop.bottom - desktop.top - h) / 2);
  EXPECT_TRUE(EqualRect(&back, &desktop));
  EXPECT_EQ(okStyle & 0x0F, BS_DEFPUSHBUTTON);
}

TEST_F(LockScreen, LongestPasswordCanBeTyped) {
  std::string password;
  for (int i = 0; i < 254; ++i) password += "aB3xY7k-"[i % 8];
  SetPassword(password);
  std::string typed;
  AddWaitForLogin();
  AddTyping(password, false);
  driver.Add([&] {
    PumpFor(50);
    typed = FieldText();
    if (typed.size() < password.size()) return false;
    TypeKey(VK_RETURN);
    return true;
  });
  EXPECT_TRUE(Lock());
  EXPECT_EQ(typed, password);
}

// Refuses to create the n-th dialog window from now on (1 = the backdrop,
// 2 = the login), as Windows refuses when resources run out.
int g_dialogsToPass;
HHOOK g_refuseHook;
LRESULT CALLBACK RefuseDialog(int code, WPARAM wp, LPARAM lp) {
  if (code == HCBT_CREATEWND) {
    const CBT_CREATEWNDA* create = reinterpret_cast<const CBT_CREATEWNDA*>(lp);
    if (create->lpcs->lpszClass == reinterpret_cast<LPCSTR>(WC_DIALOG) && --g_dialogsToPass == 0) return 1;
  }
  return CallNextHookEx(g_refuseHook, code, wp, lp);
}

class LockScreenFailure : public LockScreen, public ::testing::WithParamInterface<int> {};

TEST_P(LockScreenFailure, AWindowThatCannotBeCreatedEndsTheLockAndShowsTheHost) {
  SetPassword("pw");
  g_dialogsToPass = GetParam();
  g_refuseHook = SetWindowsHookExA(WH_CBT, RefuseDialog, nullptr, GetCurrentThreadId());
  ASSERT_NE(g_refuseHook, nullptr);
  UINT_PTR failsafe = SetTimer(nullptr, 0, 10000, Failsafe);
  bool unlocked = RunLockScreen(GetModuleHandleA(nullptr), Guard()) == LockEnd::Unlocked;
  KillTimer(nullptr, failsafe);
  UnhookWindowsHookEx(g_refuseHook);
  EXPECT_FALSE(unlocked);
  EXPECT_EQ(State().lockIsUp, 0);
  EXPECT_TRUE(IsWindowVisible(Host())) << "never a backdrop without a login";
  EXPECT_EQ(Login(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(BackdropOrLogin, LockScreenFailure, ::testing::Values(1, 2));

TEST_F(LockScreen, ASecondLockInsideTheFirstIsRefused) {
  SetPassword("pw");
  bool nestedResult = true;
  HWND firstLogin = nullptr, loginAfter = nullptr;
  bool hostHiddenAfter = false;
  AddWaitForLogin();
  driver.Add([&] {
    firstLogin = Login();
    nestedResult = RunLockScreen(GetModuleHandleA(nullptr), Guard()) != LockEnd::AlreadyUp;
    loginAfter = Login();
    hostHiddenAfter = !IsWindowVisible(Host());
    return true;
  });
  AddTyping("pw");
  EXPECT_TRUE(Lock());
  EXPECT_FALSE(nestedResult);
  EXPECT_EQ(loginAfter, firstLogin) << "still the one login of the first lock";
  EXPECT_TRUE(hostHiddenAfter);
  EXPECT_TRUE(IsWindowVisible(Host()));
}

// The password field's own menu (a right click) is a top-level window of its
// own: the lock's watch leaves it up, as it leaves the login's other windows.
TEST_F(LockScreen, ThePasswordFieldsMenuStaysUpThroughTheWatch) {
  SetPassword("pw");
  bool shownAfterTick = false;
  AddWaitForLogin();
  driver.Add([] {
    HWND field = GetDlgItem(Login(), IDC_PASSWORD);
    PostMessageA(field, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(field), MAKELPARAM(200, 200));
    return true;
  });
  driver.Add([&shownAfterTick] {
    HWND menu = FindWindowA("#32768", nullptr);
    if (!menu || !IsWindowVisible(menu)) return false;
    SendMessageA(Backdrop(), WM_TIMER, LOCK_WATCH_TIMER, 0);
    shownAfterTick = IsWindowVisible(menu);
    EndMenu();
    return true;
  });
  AddWaitForLogin();
  AddTyping("pw");
  EXPECT_TRUE(Lock());
  EXPECT_TRUE(shownAfterTick);
}

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

// The wait after wrong passwords, second by second: the login's own timer is
// stopped as soon as a wait starts, the clock is moved on a second at a time
// and the timer's tick sent by hand.
class LoginDelay : public LockScreen {
 protected:
  void SetUp() override {
    LockScreen::SetUp();
    now_ = GetTickCount();
    SetIdleClockForTests(&now_);
  }
  void TearDown() override {
    SetIdleClockForTests(nullptr);
    LockScreen::TearDown();
  }
  struct Wait {
    std::vector<std::string> prompts;  // at its start and after each second
    bool timerRan = false, triesTaken = true, focusBack = false, postedTicksChangedNothing = true;
  };
  // A wrong password that starts a wait of `seconds`, counted down to its end;
  // meanwhile typing, a posted OK with the right password, and the timer's
  // ticks posted by another program must go nowhere.
  void AddWrongPasswordThatWaits(int seconds, const std::string& right, Wait& wait) {
    AddTyping("wrong");
    driver.Add([&wait] {
      HWND box = MessageBoxWindow();
      if (!box || !IsWindowVisible(box)) return false;
      wait.timerRan = KillTimer(Login(), LOGIN_WAIT_TIMER) != FALSE;
      wait.triesTaken = TakesTries();
      wait.prompts.push_back(PromptText());
      TypeKey(VK_RETURN);
      return true;
    });
    driver.Add([] { return !MessageBoxWindow(); });
    driver.Add([right] {
      TypeText(right);
      TypeKey(VK_RETURN);
      PostMessageA(Login(), WM_COMMAND, IDC_LOGIN_OK, 0);
      return true;
    });
    for (int i = 0; i < seconds; ++i)
      driver.Add([this, &wait] {
        if (!Login()) return true;
        std::string before = PromptText();
        for (int n = 0; n < LONGEST_LOGIN_WAIT_SECONDS; ++n) PostMessageA(Login(), WM_TIMER, LOGIN_WAIT_TIMER, 0);
        PumpFor(50);
        wait.postedTicksChangedNothing = wait.postedTicksChangedNothing && PromptText() == before && !TakesTries();
        wait.triesTaken = wait.triesTaken || TakesTries();
        now_ += 1000;
        SendMessageA(Login(), WM_TIMER, LOGIN_WAIT_TIMER, 0);
        wait.prompts.push_back(PromptText());
        return true;
      });
    driver.Add([&wait] {
      wait.focusBack = GetFocus() == GetDlgItem(Login(), IDC_PASSWORD) && TakesTries();
      return true;
    });
  }
  DWORD now_ = 0;
};

TEST_F(LoginDelay, FromTheFourthWrongPasswordEachTryWaitsLongerAndTheNextLockStartsAfresh) {
  SetPassword("Secret");
  AddWaitForLogin();
  for (int i = 0; i < 3; ++i) {
    AddTyping("wrong");
    AddRejection();  // as before: the field takes the next try at once
  }
  Wait fourth, fifth;
  AddWrongPasswordThatWaits(2, "Secret", fourth);
  AddWrongPasswordThatWaits(4, "Secret", fifth);
  AddTyping("Secret");
  EXPECT_TRUE(Lock()) << "the right password unlocks after the waits";
  EXPECT_EQ(rejections, 3);
  EXPECT_TRUE(fourth.timerRan && fifth.timerRan) << "a timer drives the countdown";
  EXPECT_FALSE(fourth.triesTaken || fifth.triesTaken) << "field and OK disabled while waiting";
  EXPECT_TRUE(fourth.postedTicksChangedNothing && fifth.postedTicksChangedNothing)
      << "the wait is real time: ticks posted from outside shorten nothing";
  EXPECT_EQ(fourth.prompts, (std::vector<std::string>{"Try again in 2 s.", "Try again in 1 s.",
                                                      "Enter your password to enable this station."}));
  EXPECT_EQ(fifth.prompts,
            (std::vector<std::string>{"Try again in 4 s.", "Try again in 3 s.", "Try again in 2 s.",
                                      "Try again in 1 s.", "Enter your password to enable this station."}));
  EXPECT_TRUE(fourth.focusBack && fifth.focusBack) << "the field takes the focus again";

  rejections = 0;
  driver = StepDriver();
  AddWaitForLogin();
  AddTyping("wrong");
  AddRejection();  // the first wrong password of a new lock waits for nothing
  AddTyping("Secret");
  EXPECT_TRUE(Lock());
  EXPECT_EQ(rejections, 1);
}

}  // namespace
