// The exit-record action against a stand-in host window: which path it takes,
// what reaches the record field, the menu and the innermost child.
#include <cstring>

#include "PluginFixture.h"
#include "plugin/Functions.h"
#include "plugin/classic/ClassicCallBlock.h"
#include "portable/keys/SendKeys.h"
#include "win32/commit/ExitRecord.h"
#include "win32/commit/WindowActivation.h"
#include "win32/guard/TimerDialog.h"
#include "win32/lock/LockScreen.h"
#include "win32/system/HostWindows.h"

namespace {

class ExitRecord : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    EnsureTimerDialog(Guard(), GetModuleHandleA(nullptr));
    ASSERT_NE(Guard().timerDialog, nullptr);
  }
  // Lets the host take in the typed keys, without running the restore tick.
  void Deliver() {
    PumpUntilCommitOver();
    KillTimer(Guard().timerDialog, RESTORE_TIMER);
    PumpUntilKeysDelivered();
  }
  int Commits() { return TheFakeHost().Count("commit"); }
};

TEST_F(ExitRecord, DoesNothingWhileLocked) {
  State().lockIsUp = 1;
  EXPECT_EQ(RunExitRecordAction(Guard(), FindHostWindowInUseOrFallback()), ExitRecordOutcome::NotTyped);
  EXPECT_EQ(State().recordCommitted, 0);
  EXPECT_FALSE(TimerRunning(Guard().timerDialog, RESTORE_TIMER, 100));
  PumpFor(200);
  EXPECT_EQ(Commits(), 0);
  State().lockIsUp = 0;
}

TEST_F(ExitRecord, StandardPathTypesControlEnterTwiceAndThenStartsTheRestoreTimer) {
  ASSERT_TRUE(InFront(Host()));
  RunExitRecordAction(Guard(), FindHostWindowInUseOrFallback());
  EXPECT_EQ(State().recordCommitted, 1);
  EXPECT_EQ(Guard().exitRecord.restoredHost, nullptr);
  EXPECT_EQ(Guard().exitRecord.giveBackTo, Host());
  EXPECT_FALSE(TimerRunning(Guard().timerDialog, RESTORE_TIMER, 100)) << "not before the last key";
  PumpUntilCommitOver();
  EXPECT_TRUE(TimerRunning(Guard().timerDialog, RESTORE_TIMER, 100));
  Deliver();
  EXPECT_EQ(Commits(), 2);
  EXPECT_EQ(TheFakeHost().Count("escape-inner"), 0);
  EXPECT_GE(GetKeyState(VK_CONTROL), 0);
}

TEST_F(ExitRecord, RestoreTickGivesTheForegroundBack) {
  HWND other = OtherApplicationWindow();
  RunExitRecordAction(Guard(), FindHostWindowInUseOrFallback());
  EXPECT_EQ(Guard().exitRecord.giveBackTo, other);
  EXPECT_EQ(GetForegroundWindow(), Host()) << "the keys go to the host";
  PumpUntil([] { return TheFakeHost().Count("commit") == 2; }, 2000);
  PumpUntil([other] { return GetForegroundWindow() == other; }, 2000);
  EXPECT_EQ(Commits(), 2);
  EXPECT_EQ(GetForegroundWindow(), other);
  EXPECT_FALSE(TimerRunning(Guard().timerDialog, RESTORE_TIMER, 100)) << "one shot";
  CloseOtherApplication();
}

TEST_F(ExitRecord, MinimisedHostIsRestoredForTheKeysAndMinimisedAgain) {
  ShowWindow(Host(), SW_MINIMIZE);
  PumpFor(50);
  ASSERT_TRUE(IsIconic(Host()));
  RunExitRecordAction(Guard(), FindHostWindowInUseOrFallback());
  EXPECT_EQ(Guard().exitRecord.restoredHost, Host());
  EXPECT_FALSE(IsIconic(Host()));
  PumpUntil([] { return TheFakeHost().Count("commit") == 2; }, 2000);
  PumpUntil([this] { return IsIconic(Host()) != 0; }, 2000);
  EXPECT_EQ(Commits(), 2);
  EXPECT_TRUE(IsIconic(Host())) << "the restore tick minimises it again";
}

TEST_F(ExitRecord, RestoreTickMinimisesTheHostItRestoredNotTheWindowInFront) {
  ShowWindow(Host(), SW_MINIMIZE);
  HWND other = OtherApplicationWindow();
  ASSERT_TRUE(IsIconic(Host()));
  RunExitRecordAction(Guard(), FindHostWindowInUseOrFallback());
  PumpUntil([this] { return IsIconic(Host()) != 0; }, 2000);
  EXPECT_TRUE(IsIconic(Host()));
  EXPECT_FALSE(IsIconic(other));
  CloseOtherApplication();
}

TEST_F(ExitRecord, TypesNothingWhileAModalDialogOfTheHostIsUp) {
  ASSERT_TRUE(InFront(Host()));
  EnableWindow(Host(), FALSE);
  EXPECT_EQ(RunExitRecordAction(Guard(), FindHostWindowInUseOrFallback()), ExitRecordOutcome::NotTyped);
  EXPECT_EQ(State().recordCommitted, 0) << "left open, to be tried again";
  EXPECT_FALSE(TimerRunning(Guard().timerDialog, RESTORE_TIMER, 100));
  PumpFor(200);
  EXPECT_EQ(Commits(), 0);
  EnableWindow(Host(), TRUE);
  EXPECT_EQ(RunExitRecordAction(Guard(), FindHostWindowInUseOrFallback()), ExitRecordOutcome::Typed);
  Deliver();
  EXPECT_EQ(Commits(), 2);
}

TEST_F(ExitRecord, HostWithoutChildrenTakesTheStandardPath) {
  TheFakeHost().Destroy();
  HWND bare = TopWindow("FMPRO6APP", "bare");
  EnsureTimerDialog(Guard(), GetModuleHandleA(nullptr));
  EXPECT_EQ(FindHostWindowInUseOrFallback(), bare);
  RunExitRecordAction(Guard(), FindHostWindowInUseOrFallback());
  EXPECT_EQ(State().recordCommitted, 1);
  PumpUntilCommitOver();
  EXPECT_TRUE(TimerRunning(Guard().timerDialog, RESTORE_TIMER, 100));
  DestroyWindow(bare);
  TheFakeHost().Create();
}

class ListExitRecord : public ExitRecord {
 protected:
  void SetUp() override {
    ASSERT_TRUE(TheFakeHost().Create("FMPRO5APP", "FM3ListTestView"));
    InitPluginCall();
    EnsureTimerDialog(Guard(), GetModuleHandleA(nullptr));
    Guard().exitRecord.cursorAtInit = reinterpret_cast<HCURSOR>(1);  // not the cursor shown now
    ASSERT_TRUE(InFront(Host()));
  }
};

TEST_F(ListExitRecord, EscapeToTheListThenTheKeysTwiceAndNoTimer) {
  RunExitRecordAction(Guard(), FindHostWindowInUseOrFallback());
  EXPECT_EQ(State().recordCommitted, 1);
  EXPECT_FALSE(TimerRunning(Guard().timerDialog, RESTORE_TIMER, 100));
  EXPECT_EQ(TheFakeHost().Count("escape-inner"), 1);
  PumpUntilCommitOver();
  PumpUntilKeysDelivered();
  EXPECT_EQ(Commits(), 4);
}

TEST_F(ListExitRecord, NothingWhenTheHostIsNotInFront) {
  ASSERT_NE(OtherApplicationWindow(), nullptr);
  RunExitRecordAction(Guard(), FindHostWindowInUseOrFallback());
  EXPECT_EQ(State().recordCommitted, 0);
  PumpFor(150);
  EXPECT_EQ(Commits(), 0);
  EXPECT_EQ(TheFakeHost().Count("escape-inner"), 0);
  CloseOtherApplication();
}

TEST_F(ListExitRecord, NothingWhileTheInitCursorIsShown) {
  Guard().exitRecord.cursorAtInit = GetCursor();
  RunExitRecordAction(Guard(), FindHostWindowInUseOrFallback());
  EXPECT_EQ(State().recordCommitted, 0);
  PumpFor(150);
  EXPECT_EQ(Commits(), 0);
}

// ---- an open menu gets Escape ----

HHOOK g_hook;
int g_menuEscapes;
LPARAM g_menuEscapeParam;

LRESULT CALLBACK WatchMenu(int code, WPARAM wp, LPARAM lp) {
  const CWPSTRUCT* m = reinterpret_cast<const CWPSTRUCT*>(lp);
  if (code == HC_ACTION && m->message == WM_KEYDOWN && m->wParam == VK_ESCAPE && WindowClass(m->hwnd) == "#32768") {
    ++g_menuEscapes;
    g_menuEscapeParam = m->lParam;
  }
  return CallNextHookEx(g_hook, code, wp, lp);
}

void CALLBACK ExitRecordInsideMenu(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  RunExitRecordAction(Guard(), FindHostWindowInUseOrFallback());
  EndMenu();
}

TEST_F(ExitRecord, OpenMenuGetsEscapeFirst) {
  BringWindowToFront(Host());
  g_menuEscapes = 0;
  g_hook = SetWindowsHookExA(WH_CALLWNDPROC, WatchMenu, nullptr, GetCurrentThreadId());
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING, 1, "New Record");
  SetTimer(nullptr, 0, 100, ExitRecordInsideMenu);
  TrackPopupMenu(menu, TPM_LEFTALIGN, 100, 100, 0, Host(), nullptr);
  UnhookWindowsHookEx(g_hook);
  DestroyMenu(menu);
  EXPECT_EQ(g_menuEscapes, 1);
  EXPECT_EQ(g_menuEscapeParam, 1);
  EXPECT_EQ(State().recordCommitted, 1);
}

}  // namespace
