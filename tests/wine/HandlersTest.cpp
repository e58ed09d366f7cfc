// What each function does to the settings, the timer dialog and its timers.
#include "PluginFixture.h"
#include "plugin/Functions.h"
#include "portable/classic/MacRomanText.h"
#include "resources/ResourceIds.h"
#include "win32/guard/TimerDialog.h"

namespace {

using Handlers = PluginTest;

struct OwnedCount {
  HWND owner;
  int n;
};

BOOL CALLBACK CountOwnedDialog(HWND hwnd, LPARAM p) {
  OwnedCount* c = reinterpret_cast<OwnedCount*>(p);
  if (GetWindow(hwnd, GW_OWNER) == c->owner && WindowClass(hwnd) == "#32770") ++c->n;
  return TRUE;
}

int DialogsOwnedBy(HWND owner) {
  OwnedCount count = {owner, 0};
  EnumThreadWindows(GetCurrentThreadId(), CountOwnedDialog, reinterpret_cast<LPARAM>(&count));
  return count.n;
}

TEST_F(Handlers, RecordLimitArmsTheRecordTimer) {
  ASSERT_TRUE(MoveCursor(123, 234));
  State().recordIdle.ticks = 9;
  EXPECT_EQ(CallFunction(FN_ACTIVATE_RECORD, "30").reply, "0");
  EXPECT_EQ(State().settings.recordLimitSeconds, 30);
  EXPECT_EQ(State().recordIdle.ticks, 0);
  ASSERT_NE(Guard().timerDialog, nullptr);
  EXPECT_TRUE(TimerRunning(Guard().timerDialog, RECORD_TIMER, 250));
  EXPECT_FALSE(TimerRunning(Guard().timerDialog, FILEMAKER_TIMER, 250));
  EXPECT_EQ(State().recordIdle.snapshot.cursor.x, 123);
  EXPECT_EQ(State().recordIdle.snapshot.cursor.y, 234);
}

TEST_F(Handlers, RecordLimitBelowOneStoresTheValueAndLeavesTheTimer) {
  CallFunction(FN_ACTIVATE_RECORD, "30");
  State().recordIdle.ticks = 6;
  struct Case {
    const char* text;
    int32_t value;
  } cases[] = {{"0", 0}, {"-5", -5}, {"none", 0}, {"", 0}};
  for (const Case& c : cases) {
    EXPECT_FALSE(CallFunction(FN_ACTIVATE_RECORD, c.text).replied) << c.text;
    EXPECT_EQ(State().settings.recordLimitSeconds, c.value) << c.text;
    EXPECT_EQ(State().recordIdle.ticks, 6) << c.text;
    EXPECT_TRUE(TimerRunning(Guard().timerDialog, RECORD_TIMER, 250)) << c.text;
  }
}

TEST_F(Handlers, LimitsAreParsedAndClamped) {
  EXPECT_EQ(CallFunction(FN_ACTIVATE_FILEMAKER, " +12abc").reply, "0");
  EXPECT_EQ(State().settings.fileMakerLimitSeconds, 12);
  EXPECT_EQ(CallFunction(FN_ACTIVATE_FILEMAKER, "536870911").reply, "0");
  EXPECT_EQ(State().settings.fileMakerLimitSeconds, 536870911);
  EXPECT_EQ(CallFunction(FN_ACTIVATE_FILEMAKER, "536870912").reply, "0");
  EXPECT_EQ(State().settings.fileMakerLimitSeconds, 536870911);
  EXPECT_EQ(CallFunction(FN_ACTIVATE_RECORD, "99999999999").reply, "0");
  EXPECT_EQ(State().settings.recordLimitSeconds, 536870911);
  EXPECT_FALSE(CallFunction(FN_ACTIVATE_RECORD, "-99999999999").replied);
  EXPECT_EQ(State().settings.recordLimitSeconds, INT32_MIN);
}

TEST_F(Handlers, FileMakerLimitStartsAndStopsItsTimers) {
  State().fileMakerIdle.ticks = 7;
  EXPECT_EQ(CallFunction(FN_ACTIVATE_FILEMAKER, "60").reply, "0");
  EXPECT_EQ(State().settings.fileMakerLimitSeconds, 60);
  EXPECT_EQ(State().fileMakerIdle.ticks, 0);
  ASSERT_NE(Guard().timerDialog, nullptr);
  EXPECT_TRUE(TimerRunning(Guard().timerDialog, FILEMAKER_TIMER, 250));
  SetTimer(Guard().timerDialog, KEYSCAN_TIMER, 100, nullptr);
  State().fileMakerIdle.ticks = 7;
  EXPECT_FALSE(CallFunction(FN_ACTIVATE_FILEMAKER, "0").replied);
  EXPECT_EQ(State().settings.fileMakerLimitSeconds, 0);
  EXPECT_EQ(State().fileMakerIdle.ticks, 0);
  EXPECT_FALSE(TimerRunning(Guard().timerDialog, FILEMAKER_TIMER, 250));
  EXPECT_FALSE(TimerRunning(Guard().timerDialog, KEYSCAN_TIMER, 100));
}

TEST_F(Handlers, FileMakerOffBeforeAnyDialogCreatesNone) {
  EXPECT_FALSE(CallFunction(FN_ACTIVATE_FILEMAKER, "0").replied);
  EXPECT_EQ(Guard().timerDialog, nullptr);
  EXPECT_EQ(DialogsOwnedBy(nullptr), 0);
}

// Today's FileMaker closes document windows at any moment: the one in use when
// the guard was armed must not take its timers along, nor the warning.
TEST_F(Handlers, ClosingTheWindowInUseLeavesTheTimersAndTheWarning) {
  HWND document = TopWindow("FMPRO6APP", "Invoices");
  ASSERT_TRUE(InFront(document));
  CallFunction(FN_SET_LOCK_WARNING, "30");
  CallFunction(FN_ACTIVATE_RECORD, "30");
  CallFunction(FN_ACTIVATE_FILEMAKER, "10");
  HWND dialog = Guard().timerDialog;
  ASSERT_TRUE(PumpUntil([] { return Guard().lockWarning.window != nullptr; }, 3000)) << "within the warning time";
  HWND notice = Guard().lockWarning.window;
  DestroyWindow(document);
  PumpFor(300);
  EXPECT_TRUE(IsWindow(dialog));
  EXPECT_TRUE(TimerRunning(dialog, RECORD_TIMER, 250));
  EXPECT_TRUE(TimerRunning(dialog, FILEMAKER_TIMER, 250));
  EXPECT_TRUE(IsWindow(notice) && IsWindowVisible(notice));
  EXPECT_EQ(Guard().lockWarning.window, notice);
}

TEST_F(Handlers, TimerDialogIsCreatedOnceWithNoOwnerAndHidden) {
  CallFunction(FN_ACTIVATE_RECORD, "30");
  HWND dialog = Guard().timerDialog;
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr);
  EXPECT_FALSE(IsWindowVisible(dialog));
  CallFunction(FN_ACTIVATE_FILEMAKER, "60");
  CallFunction(FN_RECORD_IMMEDIATELY, "1");
  CallFunction(FN_ACTIVATE_RECORD, "10");
  EXPECT_EQ(Guard().timerDialog, dialog);
  EXPECT_EQ(DialogsOwnedBy(nullptr), 1);
  PumpFor(100);
  EXPECT_FALSE(IsWindowVisible(dialog));
  char caption[8] = "x";
  GetWindowTextA(dialog, caption, sizeof caption);
  EXPECT_STREQ(caption, "");
  EXPECT_NE(GetDlgItem(dialog, IDC_DONE), nullptr) << "made from the panel's template";
}

TEST_F(Handlers, BackgroundSwitchReadsTheFirstByteOnly) {
  struct Case {
    const char* text;
    int32_t value;
  } cases[] = {{"1", 1}, {"x", 1}, {"0", 0}, {"10", 1}, {"01", 0}, {" 1", 0}};
  for (const Case& c : cases) {
    EXPECT_FALSE(CallFunction(FN_CAN_BACKGROUND, c.text).replied) << c.text;
    EXPECT_EQ(State().settings.countInBackground, c.value) << c.text;
  }
  EXPECT_EQ(CallFunction(FN_CAN_BACKGROUND, "").reply, "$$001$$");
  EXPECT_EQ(State().settings.countInBackground, 0);
  EXPECT_EQ(Guard().timerDialog, nullptr) << "the background switch needs no dialog";
}

TEST_F(Handlers, ImmediateSwitchStartsTheRecordTimerWhateverItsValue) {
  State().settings.recordLimitSeconds = 0;
  State().recordIdle.ticks = 5;
  EXPECT_FALSE(CallFunction(FN_RECORD_IMMEDIATELY, "0").replied);
  EXPECT_EQ(State().settings.commitOnLeaving, 0);
  ASSERT_NE(Guard().timerDialog, nullptr);
  EXPECT_TRUE(TimerRunning(Guard().timerDialog, RECORD_TIMER, 250));
  EXPECT_EQ(State().recordIdle.ticks, 5);
  EXPECT_EQ(State().settings.recordLimitSeconds, 0);
  CallFunction(FN_RECORD_IMMEDIATELY, "1");
  EXPECT_EQ(State().settings.commitOnLeaving, 1);
  CallFunction(FN_RECORD_IMMEDIATELY, "?");
  EXPECT_EQ(State().settings.commitOnLeaving, 1);
}

TEST_F(Handlers, EmptyImmediateSwitchCreatesNoDialog) {
  EXPECT_EQ(CallFunction(FN_RECORD_IMMEDIATELY, "").reply, "$$001$$");
  EXPECT_EQ(Guard().timerDialog, nullptr);
}

TEST_F(Handlers, PasswordIsStoredInWindowsText) {
  EXPECT_EQ(CallFunction(FN_SET_WORKSTATION_PASSWORD,
                         "Caf\x8E \xDB"
                         "5")
                .reply,
            "0");
  EXPECT_STREQ(State().settings.password,
               "Caf\xE9 \x80"
               "5");
  EXPECT_EQ(CallFunction(FN_SET_WORKSTATION_PASSWORD, "").reply, "$$001$$");
  EXPECT_STREQ(State().settings.password, "");
}

TEST_F(Handlers, StatusAnswersTheDocumentedLineAfterEachFunction) {
  auto status = [] { return CallFunction(FN_STATUS, "").reply; };
  EXPECT_EQ(status(), "record=0;recordidle=0;filemaker=0;filemakeridle=0;background=0;immediate=0;warning=0;locked=0");
  CallFunction(FN_SET_WORKSTATION_PASSWORD, "Hidden42");
  EXPECT_EQ(status().find("Hidden"), std::string::npos);
  DWORD now = GetTickCount();
  SetIdleClockForTests(&now);
  CallFunction(FN_ACTIVATE_RECORD, "120");
  CallFunction(FN_ACTIVATE_FILEMAKER, "600");
  StopAllTimers(Guard().timerDialog);
  EXPECT_EQ(status(),
            "record=120;recordidle=0;filemaker=600;filemakeridle=0;background=0;immediate=0;warning=0;locked=0");
  CallFunction(FN_CAN_BACKGROUND, "1");
  CallFunction(FN_RECORD_IMMEDIATELY, "1");
  CallFunction(FN_SET_LOCK_WARNING, "30");
  StopAllTimers(Guard().timerDialog);
  now += 37750;  // no look since: the seconds are those of the call
  EXPECT_EQ(status(),
            "record=120;recordidle=37;filemaker=600;filemakeridle=37;background=1;immediate=1;warning=30;locked=0");
  SetIdleClockForTests(nullptr);
  CallFunction(FN_ACTIVATE_RECORD, "-3");
  EXPECT_EQ(status().substr(0, 9), "record=0;") << "a limit that is off is 0";
  EXPECT_EQ(CallFunction(FN_STATUS, std::string(255, 's')).reply, "$$001$$");
}

TEST_F(Handlers, LockWarningIsReadLikeALimit) {
  EXPECT_EQ(CallFunction(FN_SET_LOCK_WARNING, " 30 seconds").reply, "0");
  EXPECT_EQ(State().settings.lockWarningSeconds, 30);
  for (const char* off : {"0", "-4", "", "none"}) {
    State().settings.lockWarningSeconds = 30;
    CallResult r = CallFunction(FN_SET_LOCK_WARNING, off);
    EXPECT_FALSE(r.replied) << off;
    EXPECT_EQ(State().settings.lockWarningSeconds, 0) << off;
  }
  State().settings.lockWarningSeconds = 12;
  EXPECT_EQ(CallFunction(FN_SET_LOCK_WARNING, std::string(255, '5')).reply, "$$001$$");
  EXPECT_EQ(State().settings.lockWarningSeconds, 12);
  EXPECT_EQ(CallFunction(FN_SET_LOCK_WARNING, "99999999999").reply, "0");
  EXPECT_EQ(State().settings.lockWarningSeconds, 536870911);
  InitPluginCall();
  EXPECT_EQ(State().settings.lockWarningSeconds, 0) << "off after an init call";
  EXPECT_EQ(Guard().timerDialog, nullptr) << "setting the warning alone creates no window";
}

}  // namespace
