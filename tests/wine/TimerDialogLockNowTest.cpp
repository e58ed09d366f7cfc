// The timer dialog's ticks (see TimerDialogTest.cpp): lock now and the
// warning before the lock.
#include "TimerDialogFixture.h"

namespace {

// ---- lock now and the warning before the lock ----

struct Notice {
  HWND window = nullptr;
  std::string countdown, hint;
};

BOOL CALLBACK FindNotice(HWND hwnd, LPARAM out) {
  char text[128] = "";
  GetDlgItemTextA(hwnd, IDC_WARNING_COUNTDOWN, text, sizeof text);
  DWORD process = 0;
  GetWindowThreadProcessId(hwnd, &process);
  if (process != GetCurrentProcessId() || std::strncmp(text, "This workstation", 16) != 0) return TRUE;
  Notice* notice = reinterpret_cast<Notice*>(out);
  notice->window = hwnd;
  notice->countdown = text;
  GetDlgItemTextA(hwnd, IDC_WARNING_HINT, text, sizeof text);
  notice->hint = text;
  return FALSE;
}

Notice FindLockWarning() {
  Notice notice;
  EnumWindows(FindNotice, reinterpret_cast<LPARAM>(&notice));
  return notice;
}

TEST_F(TimerDialog, LockWarningCountsDownWithoutTakingTheFocusAndActivityClosesIt) {
  CallFunction(FN_SET_LOCK_WARNING, "1");
  CallFunction(FN_ACTIVATE_FILEMAKER, "2");
  StopRealTimers();
  HWND focus = GetFocus();
  ASSERT_EQ(focus, TheFakeHost().record);
  Ticks(FILEMAKER_TIMER, 3);
  EXPECT_EQ(FindLockWarning().window, nullptr) << "more than a second left";
  Tick(FILEMAKER_TIMER);
  Notice notice = FindLockWarning();
  ASSERT_NE(notice.window, nullptr);
  EXPECT_EQ(notice.countdown, "This workstation locks in 1 s.");
  EXPECT_EQ(notice.hint, "Move or scroll the mouse, or press a key, to stay.");
  EXPECT_TRUE(IsWindowVisible(notice.window));
  EXPECT_TRUE(GetWindowLongA(notice.window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(GetForegroundWindow(), Host()) << "the notice never activates";
  EXPECT_EQ(GetFocus(), focus) << "typing goes on reaching the record";
  RECT r, area;
  GetWindowRect(notice.window, &r);
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  EXPECT_EQ(area.right - r.right, 8);
  EXPECT_EQ(area.bottom - r.bottom, 8);

  POINT p;
  GetCursorPos(&p);
  ASSERT_TRUE(MoveCursor(p.x + 9, p.y));
  Tick(FILEMAKER_TIMER);
  EXPECT_FALSE(IsWindow(notice.window)) << "a mouse move closes it at once";
  EXPECT_EQ(State().fileMakerIdle.ticks, 0);
}

TEST_F(TimerDialog, NoNoticeWindowWhileTheWarningIsOff) {
  CallFunction(FN_ACTIVATE_FILEMAKER, "2");
  StopRealTimers();
  Ticks(FILEMAKER_TIMER, 7);
  EXPECT_EQ(FindLockWarning().window, nullptr);
  EXPECT_EQ(Guard().lockWarning.window, nullptr);
}

bool g_noticeDuringLock;

void CALLBACK LookThenUnlock(HWND, UINT, UINT_PTR id, DWORD) {
  HWND login = FindWindowA(nullptr, "Please Login");
  if (!login) return;
  g_noticeDuringLock = FindLockWarning().window != nullptr;
  UnlockByCommand(nullptr, 0, id, 0);
}

TEST_F(TimerDialog, TheNoticeClosesWhenTheLockOpens) {
  CallFunction(FN_SET_WORKSTATION_PASSWORD, "pw");
  CallFunction(FN_SET_LOCK_WARNING, "5");
  CallFunction(FN_ACTIVATE_FILEMAKER, "1");
  StopRealTimers();
  Ticks(FILEMAKER_TIMER, 3);
  ASSERT_NE(FindLockWarning().window, nullptr);
  PumpUntilCommitOver();  // the lock follows the commit's last key
  g_unlocks = 0;
  g_noticeDuringLock = true;
  UINT_PTR unlock = SetTimer(nullptr, 0, 50, LookThenUnlock);
  Tick(FILEMAKER_TIMER);
  KillTimer(nullptr, unlock);
  EXPECT_EQ(g_unlocks, 1);
  EXPECT_FALSE(g_noticeDuringLock);
}

int g_commitsAtLock;

void CALLBACK CountCommitsThenUnlock(HWND, UINT, UINT_PTR id, DWORD) {
  if (!FindWindowA(nullptr, "Please Login")) return;
  g_commitsAtLock = TheFakeHost().Count("commit");
  UnlockByCommand(nullptr, 0, id, 0);
}

TEST_F(TimerDialog, LockNowLocksOnTheNextTurnAfterCommitting) {
  CallFunction(FN_SET_WORKSTATION_PASSWORD, "pw");
  ASSERT_TRUE(InFront(Host()));
  EXPECT_EQ(CallFunction(FN_LOCK_NOW, "").reply, "0");
  EXPECT_FALSE(State().lockIsUp) << "never inside the host's call";
  EXPECT_EQ(FindWindowA(nullptr, "Please Login"), nullptr);
  g_unlocks = 0;
  g_commitsAtLock = -1;
  UINT_PTR unlock = SetTimer(nullptr, 0, 50, CountCommitsThenUnlock);
  PumpUntil([] { return g_unlocks == 1 && !State().lockIsUp; }, 5000);
  KillTimer(nullptr, unlock);
  EXPECT_EQ(g_unlocks, 1);
  EXPECT_EQ(g_commitsAtLock, 2) << "the record is committed before the lock";
  EXPECT_TRUE(IsWindowVisible(Host()));
  EXPECT_EQ(State().settings.fileMakerLimitSeconds, 0) << "no limit needed";
}

TEST_F(TimerDialog, LockNowDuringALockAnswersAndDoesNothingMore) {
  EnsureTimerDialog(Guard(), GetModuleHandleA(nullptr));
  State().lockIsUp = true;
  EXPECT_EQ(CallFunction(FN_LOCK_NOW, "x").reply, "0");
  PumpFor(150);
  EXPECT_EQ(FindWindowA(nullptr, "Please Login"), nullptr);
  State().lockIsUp = false;
  EXPECT_EQ(CallFunction(FN_LOCK_NOW, std::string(255, 'x')).reply, "$$001$$");
  PumpFor(150);
  EXPECT_EQ(FindWindowA(nullptr, "Please Login"), nullptr) << "a refused parameter changes nothing";
}

}  // namespace
