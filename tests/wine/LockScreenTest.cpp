// The lock screen entered the way the timer dialog enters it, unlocked with real
// keystrokes typed into the password field.
#include "LockScreenFixture.h"

namespace {

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

}  // namespace
