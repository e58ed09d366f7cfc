// The lock screen (see LockScreenTest.cpp): the wait after wrong passwords.
#include "LockScreenFixture.h"

namespace {

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
