// The timer dialog's ticks, sent one by one as WM_TIMER so that exact tick
// counts can be checked; the real timers are stopped first. Here: the record
// limit, the FileMaker limit and the lock.
#include "TimerDialogFixture.h"

namespace {

TEST_F(TimerDialog, RecordLimitOneActsOnTheFourthTickAndNotAgain) {
  CallFunction(FN_ACTIVATE_RECORD, "1");
  StopRealTimers();
  Ticks(RECORD_TIMER, 3);
  EXPECT_EQ(State().recordCommitted, 0);
  EXPECT_EQ(State().recordIdle.ticks, 3);
  Tick(RECORD_TIMER);
  EXPECT_EQ(State().recordCommitted, 1);
  EXPECT_EQ(State().recordIdle.ticks, 0);
  Deliver();
  EXPECT_EQ(Commits(), 2);
  Ticks(RECORD_TIMER, 20);
  Deliver();
  EXPECT_EQ(Commits(), 2) << "the latch holds until the user is back";
  EXPECT_EQ(State().recordIdle.ticks, 0);
}

TEST_F(TimerDialog, AMoveOrTypingInTheLimitTickHoldsTheAction) {
  CallFunction(FN_ACTIVATE_RECORD, "1");
  StopRealTimers();
  Ticks(RECORD_TIMER, 3);
  POINT p;
  GetCursorPos(&p);
  ASSERT_TRUE(MoveCursor(p.x + 5, p.y + 5));
  Tick(RECORD_TIMER);
  EXPECT_EQ(State().recordCommitted, 0) << "Windows dates the move: someone was there";
  Ticks(RECORD_TIMER, 4);
  EXPECT_EQ(State().recordCommitted, 1) << "a full limit after the move";
  Deliver();

  State().recordCommitted = 0;
  CallFunction(FN_ACTIVATE_RECORD, "1");
  StopRealTimers();
  Ticks(RECORD_TIMER, 3);
  KeyboardChange();
  Tick(RECORD_TIMER);
  EXPECT_EQ(State().recordCommitted, 0);
  EXPECT_EQ(State().recordIdle.ticks, 0);
  Ticks(RECORD_TIMER, 3);
  EXPECT_EQ(State().recordCommitted, 0);
  Tick(RECORD_TIMER);
  EXPECT_EQ(State().recordCommitted, 1) << "a full limit after the typing";
}

TEST_F(TimerDialog, OnlyTypingInTheHostMainWindowReArms) {
  CallFunction(FN_ACTIVATE_RECORD, "1");
  StopRealTimers();
  Ticks(RECORD_TIMER, 4);
  ASSERT_EQ(State().recordCommitted, 1);
  Deliver();
  POINT p;
  GetCursorPos(&p);
  ASSERT_TRUE(MoveCursor(p.x + 7, p.y));
  Tick(RECORD_TIMER);
  EXPECT_EQ(State().recordCommitted, 1) << "a mouse move never re-arms";

  ASSERT_NE(OtherApplicationWindow(), nullptr);
  State().recordIdle.ticks = 2;
  KeyboardChange();
  Tick(RECORD_TIMER);
  EXPECT_EQ(State().recordIdle.ticks, 0) << "typing elsewhere resets the count";
  EXPECT_EQ(State().recordCommitted, 1) << "but does not re-arm";

  ASSERT_TRUE(InFront(Host()));
  Tick(RECORD_TIMER);
  EXPECT_EQ(State().recordCommitted, 1) << "nor does FileMaker back in front";
  TypeKey('A');
  PumpFor(50);
  Tick(RECORD_TIMER);
  EXPECT_EQ(State().recordCommitted, 0) << "a key into FileMaker does";
  CloseOtherApplication();
}

TEST_F(TimerDialog, SettingALimitDoesNotReArm) {
  State().recordCommitted = 1;
  CallFunction(FN_ACTIVATE_RECORD, "1");
  StopRealTimers();
  Ticks(RECORD_TIMER, 12);
  Deliver();
  EXPECT_EQ(Commits(), 0);
}

TEST_F(TimerDialog, ImmediateRuleFiresWhenTheHostIsLeftAndReArmsOnReturn) {
  CallFunction(FN_RECORD_IMMEDIATELY, "1");
  StopRealTimers();
  Tick(RECORD_TIMER);
  EXPECT_EQ(State().recordCommitted, 0) << "the host is active: nothing";
  HWND other = OtherApplicationWindow();
  ASSERT_NE(other, nullptr);
  Tick(RECORD_TIMER);
  PumpUntil([this] { return Commits() == 2; }, 2000);
  EXPECT_EQ(Commits(), 2);
  // The restore tick gives the foreground back and sets the latch.
  PumpUntil([other] { return State().recordCommitted == 1 && GetForegroundWindow() == other; }, 2000);
  EXPECT_EQ(State().recordCommitted, 1);
  EXPECT_EQ(GetForegroundWindow(), other);
  Tick(RECORD_TIMER);
  PumpFor(150);
  EXPECT_EQ(Commits(), 2) << "once only";
  ASSERT_TRUE(InFront(Host()));
  TypeKey('A');
  PumpFor(50);
  Tick(RECORD_TIMER);
  EXPECT_EQ(State().recordCommitted, 0) << "back in the host and typing: re-armed";
  CloseOtherApplication();
}

TEST_F(TimerDialog, RecordLimitOffHoldsTheCountAndDisablesStop) {
  CallFunction(FN_ACTIVATE_RECORD, "5");
  StopRealTimers();
  CallFunction(FN_ACTIVATE_RECORD, "0");
  State().recordIdle.ticks = 9;
  State().recordCommitted = 1;
  Tick(RECORD_TIMER);
  EXPECT_EQ(State().recordIdle.ticks, 0);
  EXPECT_EQ(State().recordCommitted, 1) << "FileMaker in front opens no record";
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(Guard().timerDialog, IDC_RECORD_STOP)));
  TypeKey('A');
  PumpFor(50);
  Tick(RECORD_TIMER);
  EXPECT_EQ(State().recordCommitted, 0) << "a key into it does, limit or not";
}

// ---- the FileMaker limit and the lock ----

TEST_F(TimerDialog, FileMakerLimitOneExitsOnTickThreeLocksOnFourAndAgainAfterUnlock) {
  CallFunction(FN_SET_WORKSTATION_PASSWORD, "pw");
  CallFunction(FN_CAN_BACKGROUND, "1");
  CallFunction(FN_ACTIVATE_FILEMAKER, "1");
  StopRealTimers();
  Ticks(FILEMAKER_TIMER, 2);
  EXPECT_EQ(State().recordCommitted, 0);
  Tick(FILEMAKER_TIMER);
  EXPECT_EQ(State().recordCommitted, 1) << "the exit before the lock";
  EXPECT_EQ(State().lockIsUp, 0);
  Deliver();
  EXPECT_EQ(Commits(), 2);

  g_unlocks = 0;
  UINT_PTR unlock = SetTimer(nullptr, 0, 50, UnlockByCommand);
  Tick(FILEMAKER_TIMER);  // returns once unlocked
  KillTimer(nullptr, unlock);
  EXPECT_EQ(g_unlocks, 1);
  EXPECT_EQ(State().lockIsUp, 0);
  EXPECT_EQ(State().fileMakerIdle.ticks, 0);
  EXPECT_TRUE(IsWindowVisible(Host()));
  StopAllTimers(Guard().timerDialog);
  // Wine takes the lock's windows leaving from under the cursor for pointer
  // input: the count runs from there.
  PumpFor(200);
  StartCountNow(Guard(), WatchedCount::FileMaker);

  Ticks(FILEMAKER_TIMER, 3);
  EXPECT_EQ(State().fileMakerIdle.ticks, 3);
  EXPECT_EQ(g_unlocks, 1) << "no lock before the fourth idle tick";
  unlock = SetTimer(nullptr, 0, 50, UnlockByCommand);
  Tick(FILEMAKER_TIMER);
  KillTimer(nullptr, unlock);
  EXPECT_EQ(g_unlocks, 2) << "the fourth idle tick after the unlock locks again";
  Deliver();
  EXPECT_EQ(Commits(), 2) << "no exit-record action while the latch is set";
}

TEST_F(TimerDialog, FileMakerCountIsHeldInTheBackgroundUnlessAllowed) {
  CallFunction(FN_ACTIVATE_FILEMAKER, "1");
  StopRealTimers();
  ASSERT_NE(OtherApplicationWindow(), nullptr);
  Ticks(FILEMAKER_TIMER, 10);
  EXPECT_EQ(State().fileMakerIdle.ticks, 0);
  EXPECT_EQ(State().recordCommitted, 0);
  State().settings.countInBackground = 1;
  Ticks(FILEMAKER_TIMER, 2);
  EXPECT_EQ(State().fileMakerIdle.ticks, 2);
  EXPECT_FALSE(TimerRunning(Guard().timerDialog, KEYSCAN_TIMER, 100)) << "no key scan: Windows dates the last input";
  TypeKey('A');  // into the other application
  Tick(FILEMAKER_TIMER);
  EXPECT_EQ(State().fileMakerIdle.ticks, 0) << "a key typed there counts all the same";
  ASSERT_TRUE(InFront(Host()));
  StopAllTimers(Guard().timerDialog);
  SetTimer(Guard().timerDialog, KEYSCAN_TIMER, 100, nullptr);
  Tick(FILEMAKER_TIMER);
  EXPECT_FALSE(TimerRunning(Guard().timerDialog, KEYSCAN_TIMER, 100));
  CloseOtherApplication();
}

TEST_F(TimerDialog, HeldKeyFoundByTheKeyScanCountsAsActivity) {
  BYTE state[256] = {};
  State().fileMakerIdle.ticks = 5;
  state[VK_CONTROL] = 0x80;
  SetKeyboardState(state);
  EnsureTimerDialog(Guard(), GetModuleHandleA(nullptr));
  Tick(KEYSCAN_TIMER);
  EXPECT_EQ(State().fileMakerIdle.ticks, 5) << "Control is not in the key-scan set";
  state['A'] = 0x80;
  SetKeyboardState(state);
  Tick(KEYSCAN_TIMER);
  EXPECT_EQ(State().fileMakerIdle.ticks, 0);
}

TEST_F(TimerDialog, EachTimerSeesTypingThatTheOtherHasTakenIn) {
  CallFunction(FN_ACTIVATE_RECORD, "100");
  CallFunction(FN_ACTIVATE_FILEMAKER, "100");
  StopRealTimers();
  Ticks(RECORD_TIMER, 5);
  Ticks(FILEMAKER_TIMER, 5);
  KeyboardChange();
  Tick(RECORD_TIMER);
  EXPECT_EQ(State().recordIdle.ticks, 0);
  Tick(FILEMAKER_TIMER);
  EXPECT_EQ(State().fileMakerIdle.ticks, 0) << "the FileMaker count is reset by the same typing";
}

TEST_F(TimerDialog, FileMakerLimitOffStopsItsTimersOnTheNextTick) {
  CallFunction(FN_ACTIVATE_FILEMAKER, "3");
  SendMessageA(Guard().timerDialog, WM_COMMAND, IDC_FILEMAKER_STOP, 0);
  EXPECT_EQ(State().settings.fileMakerLimitSeconds, 0);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(Guard().timerDialog, IDC_FILEMAKER_STOP)));
  EXPECT_TRUE(TimerRunning(Guard().timerDialog, FILEMAKER_TIMER, 250));
  Tick(FILEMAKER_TIMER);
  EXPECT_FALSE(TimerRunning(Guard().timerDialog, FILEMAKER_TIMER, 250));
  EXPECT_FALSE(TimerRunning(Guard().timerDialog, KEYSCAN_TIMER, 100));
}

TEST_F(TimerDialog, PanelCommands) {
  EnsureTimerDialog(Guard(), GetModuleHandleA(nullptr));
  HWND d = Guard().timerDialog;
  auto command = [d](int id) { SendMessageA(d, WM_COMMAND, id, 0); };

  SetDlgItemTextA(d, IDC_RECORD_FIELD, " 7x");
  command(IDC_RECORD_SET);
  EXPECT_EQ(State().settings.recordLimitSeconds, 7);
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(d, IDC_RECORD_STOP)));
  EXPECT_TRUE(TimerRunning(d, RECORD_TIMER, 250));
  command(IDC_RECORD_STOP);
  EXPECT_EQ(State().settings.recordLimitSeconds, 0);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, IDC_RECORD_STOP)));
  KillTimer(d, RECORD_TIMER);
  SetDlgItemTextA(d, IDC_RECORD_FIELD, "0");
  command(IDC_RECORD_SET);
  EXPECT_FALSE(TimerRunning(d, RECORD_TIMER, 250));

  command(IDC_RECORD_TOGGLE);
  EXPECT_EQ(State().settings.commitOnLeaving, 1);
  command(IDC_RECORD_TOGGLE);
  EXPECT_EQ(State().settings.commitOnLeaving, 0);

  State().fileMakerIdle.ticks = 4;
  SetDlgItemTextA(d, IDC_FILEMAKER_FIELD, "3");
  command(IDC_FILEMAKER_SET);
  EXPECT_EQ(State().settings.fileMakerLimitSeconds, 3);
  EXPECT_EQ(State().fileMakerIdle.ticks, 0);
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(d, IDC_FILEMAKER_STOP)));
  EXPECT_TRUE(TimerRunning(d, FILEMAKER_TIMER, 250));
  SetTimer(d, KEYSCAN_TIMER, 100, nullptr);
  SetDlgItemTextA(d, IDC_FILEMAKER_FIELD, "-1");
  command(IDC_FILEMAKER_SET);
  EXPECT_EQ(State().settings.fileMakerLimitSeconds, -1);
  EXPECT_FALSE(TimerRunning(d, FILEMAKER_TIMER, 250));
  EXPECT_FALSE(TimerRunning(d, KEYSCAN_TIMER, 100));
  SetDlgItemTextA(d, IDC_FILEMAKER_FIELD, "99999999999");
  command(IDC_FILEMAKER_SET);
  EXPECT_EQ(State().settings.fileMakerLimitSeconds, 536870911);

  command(IDC_FILEMAKER_TOGGLE);
  EXPECT_EQ(State().settings.countInBackground, 1);
  command(IDC_SCRIPT_TOGGLE);
  EXPECT_EQ(Guard().panelScriptTimer.countsInBackground, 1);
  Guard().panelScriptTimer.seconds = 3;
  command(IDC_SCRIPT_STOP);
  EXPECT_EQ(Guard().panelScriptTimer.seconds, 0);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, IDC_SCRIPT_STOP)));

  ShowWindow(d, SW_SHOWNOACTIVATE);
  command(IDC_DONE);
  EXPECT_FALSE(IsWindowVisible(d));

  int32_t before[] = {State().settings.recordLimitSeconds, State().settings.fileMakerLimitSeconds,
                      State().settings.commitOnLeaving, State().settings.countInBackground};
  const int DATABASE_SET_BUTTON = 133;  // a script-timer control that sets nothing
  const UINT_PTR NO_SUCH_TIMER = 4242, UNUSED_TIMER = 1115;
  command(DATABASE_SET_BUTTON);
  Tick(UNUSED_TIMER);
  Tick(NO_SUCH_TIMER);
  int32_t after[] = {State().settings.recordLimitSeconds, State().settings.fileMakerLimitSeconds,
                     State().settings.commitOnLeaving, State().settings.countInBackground};
  EXPECT_EQ(std::memcmp(before, after, sizeof before), 0);
}

}  // namespace
