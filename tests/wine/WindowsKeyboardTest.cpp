// The timer dialog while Windows holds the keyboard (its lock screen, a
// disconnected session) or refuses keys, with the keystroke library's port
// recording every key event instead of sending it: what was typed, and when,
// is exact. Windows' session notifications are sent as Windows sends them.
#include "RecordingKeyPort.h"
#include "TickFixture.h"
#include "plugin/Functions.h"
#include "portable/engine/StatusText.h"
#include "portable/engine/WindowsKeyboard.h"
#include "resources/ResourceIds.h"
#include "win32/watch/SessionNotifications.h"

namespace {

const WPARAM SESSION_LOCK = 7, SESSION_UNLOCK = 8;

int g_keysWhenTheLockCameUp;

class WindowsKeyboard : public TickTest {
 protected:
  void SetUp() override {
    recorder::Reset();
    g_unlocks = g_keysWhenTheLockCameUp = 0;
    g_atLockUp = [] { g_keysWhenTheLockCameUp = recorder::KeyEvents(); };
    TickTest::SetUp();
  }
  void TearDown() override {
    Session(SESSION_UNLOCK);
    TickTest::TearDown();
    g_atLockUp = nullptr;
    recorder::Reset();
  }
  void Arm(bool withScript) {
    CallFunction(FN_SET_WORKSTATION_PASSWORD, "pw");
    CallFunction(FN_ACTIVATE_RECORD, "1");
    CallFunction(FN_ACTIVATE_FILEMAKER, "2");
    if (withScript) SetEventScript(State().eventScript, "Contacts", "Audit");
    StopRealTimers();
  }
  void Session(WPARAM change) {
    if (Guard().timerDialog) SendMessageA(Guard().timerDialog, WM_SESSION_CHANGE, change, 0);
  }
  // The events waiting for the script, as their JSON, and handed over as
  // FileMaker's idle call does; then an idle call with no script running.
  std::vector<std::string> HandOver() {
    std::vector<std::string> texts;
    ScriptEvent event;
    while (TakeScriptEvent(State().eventScript, event)) {
      char json[SCRIPT_EVENT_TEXT_SIZE];
      FormatScriptEvent(event, json, sizeof json);
      texts.push_back(json);
    }
    NoteIdleAfterHandOver(State().eventScript, false);
    return texts;
  }
  // Both limits' ticks, so that the FileMaker limit (8 ticks) comes due.
  void TicksToTheLock() {
    for (int i = 0; i < 8 && !State().waitingLock.due; ++i) {
      Tick(RECORD_TIMER);
      Tick(FILEMAKER_TIMER);
      StopTimer(Guard().timerDialog, WAITING_LOCK_TIMER);  // sent by hand below
    }
  }
  // The waiting lock's turn, with the login unlocked as soon as it is up.
  void WaitingLockTurn() {
    UINT_PTR unlock = SetTimer(nullptr, 0, 50, UnlockByCommand);
    Tick(WAITING_LOCK_TIMER);
    KillTimer(nullptr, unlock);
  }
  std::string Status() {
    char text[STATUS_TEXT_SIZE];
    FormatStatus(State(), {}, text, sizeof text, false);
    return text;
  }
};

TEST_F(WindowsKeyboard, TheScriptIsAskedOnceAtTheLockNothingIsTypedAndTheLockStillComes) {
  Arm(true);
  Session(SESSION_LOCK);
  EXPECT_NE(Status().find(";windows=locked"), std::string::npos) << Status();
  EXPECT_TRUE(State().recordCommitted) << "asked at once, not at the limit";
  TicksToTheLock();
  EXPECT_EQ(recorder::KeyEvents(), 0) << recorder::Trace();
  ASSERT_TRUE(State().waitingLock.due) << "the lock waits for the script asked to commit";
  EXPECT_FALSE(State().lockIsUp);
  std::vector<std::string> asked = HandOver();
  ASSERT_EQ(asked.size(), 1u) << "asked once, nothing repeated";
  EXPECT_EQ(asked[0], "{\"event\":\"commit\",\"reason\":\"windowslocked\",\"typed\":false}");
  WaitingLockTurn();
  EXPECT_EQ(g_unlocks, 1) << "then the lock came";
  Session(SESSION_UNLOCK);
  EXPECT_EQ(Status().find("windows="), std::string::npos) << Status();
  Ticks(RECORD_TIMER, 8);
  EXPECT_EQ(recorder::KeyEvents(), 0) << "committed by the script: nothing to type after the unlock";
}

TEST_F(WindowsKeyboard, WithoutAScriptTheCommitIsTypedFirstWhenTheKeyboardIsBack) {
  Arm(false);
  Session(SESSION_LOCK);
  TicksToTheLock();
  EXPECT_EQ(recorder::KeyEvents(), 0) << recorder::Trace();
  ASSERT_TRUE(State().waitingLock.due);
  EXPECT_TRUE(State().waitingLock.forKeyboard);
  Tick(WAITING_LOCK_TIMER);
  EXPECT_FALSE(State().lockIsUp) << "not while Windows holds the keyboard";
  Session(SESSION_UNLOCK);
  EXPECT_FALSE(State().lockIsUp) << "not before the commit's last key";
  PumpUntilCommitOver();
  WaitingLockTurn();
  EXPECT_EQ(g_unlocks, 1);
  EXPECT_EQ(g_keysWhenTheLockCameUp, 8) << "Ctrl+Enter twice, before the lock: " << recorder::Trace();
  EXPECT_EQ(recorder::Trace(), "Ctrl↓ Enter↓ Enter↑e Ctrl↑ Ctrl↓ Enter↓ Enter↑e Ctrl↑") << "once, nothing else";
  EXPECT_FALSE(State().windows.commitWaiting);
}

TEST_F(WindowsKeyboard, KeysWindowsRefusesAskTheScriptOnceAndTheLockStillComes) {
  Arm(true);
  recorder::refuseKeys = true;
  Ticks(RECORD_TIMER, 4);
  int triedOnce = recorder::KeyEvents();
  EXPECT_GT(triedOnce, 0);
  Ticks(RECORD_TIMER, 12);
  EXPECT_EQ(recorder::KeyEvents(), triedOnce) << "not tried again on every tick";
  std::vector<std::string> asked = HandOver();
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0], "{\"event\":\"commit\",\"reason\":\"idle\",\"typed\":false}");

  State().recordCommitted = false;  // typed into again
  TicksToTheLock();
  ASSERT_TRUE(State().waitingLock.due);
  asked = HandOver();
  ASSERT_EQ(asked.size(), 1u) << "the lock's commit, asked before it goes up";
  EXPECT_EQ(asked[0], "{\"event\":\"commit\",\"reason\":\"idle\",\"typed\":false}");
  WaitingLockTurn();
  EXPECT_EQ(g_unlocks, 1) << "and the lock came";
}

// No script runs while one of FileMaker's modal dialogs is up: the script is
// asked, and the lock comes at once, waiting for none.
TEST_F(WindowsKeyboard, AHostThatCannotTakeTheKeysAtTheLockHasTheScriptAskedBeforeIt) {
  Arm(true);
  EnableWindow(Host(), FALSE);
  UINT_PTR unlock = SetTimer(nullptr, 0, 50, UnlockByCommand);
  for (int i = 0; i < 8 && g_unlocks == 0; ++i) Tick(RECORD_TIMER), Tick(FILEMAKER_TIMER);
  KillTimer(nullptr, unlock);
  EXPECT_EQ(recorder::KeyEvents(), 0);
  EXPECT_EQ(g_unlocks, 1);
  EXPECT_FALSE(State().waitingLock.due);
  std::vector<std::string> asked = HandOver();
  ASSERT_EQ(asked.size(), 2u) << "the record limit tries again later; the lock asks";
  EXPECT_EQ(asked[0], "{\"event\":\"commit\",\"reason\":\"idle\",\"typed\":false}");
  EnableWindow(Host(), TRUE);
}

}  // namespace
