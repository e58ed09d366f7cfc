// Soak: 100,000 ticks of both idle timers driven directly with randomised
// activity and 100 lock and unlock cycles. Nothing may leak, no modifier key may
// stay down, and every lock must follow an exit-record attempt.
#include <windows.h>
// psapi.h needs the types of windows.h first.
#include <psapi.h>

#include <cstdio>

#include "PluginFixture.h"
#include "plugin/Functions.h"
#include "portable/keys/SendKeys.h"
#include "resources/ResourceIds.h"
#include "win32/commit/WindowActivation.h"
#include "win32/guard/TimerDialog.h"
#include "win32/lock/LockScreen.h"

namespace {

struct Resources {
  DWORD user, gdi, handles;  // as Windows reports them; Wine may report 0
  int windows;               // windows of this thread, children included
  SIZE_T committed;          // private committed memory, from a walk of the address space
};

BOOL CALLBACK CountWindow(HWND hwnd, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  EnumChildWindows(hwnd, CountWindow, count);
  return TRUE;
}

Resources Measure() {
  Resources r = {};
  r.user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  r.gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  GetProcessHandleCount(GetCurrentProcess(), &r.handles);
  EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&r.windows));
  MEMORY_BASIC_INFORMATION info;
  for (const char* p = nullptr; VirtualQuery(p, &info, sizeof info) == sizeof info;
       p = static_cast<const char*>(info.BaseAddress) + info.RegionSize) {
    if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) r.committed += info.RegionSize;
    if (static_cast<const char*>(info.BaseAddress) + info.RegionSize < p) break;
  }
  return r;
}

int g_locks;
int g_locksWithoutExit;
int g_commitsAtLastReArm;

int Commits() { return TheFakeHost().Count("commit"); }

// Runs inside the lock screen: checks that the record was committed since the
// latch was last re-armed, then unlocks the way a user's OK does.
void CALLBACK CheckAndUnlock(HWND, UINT, UINT_PTR, DWORD) {
  HWND login = FindWindowA(nullptr, "Please Login");
  if (!login) return;
  ++g_locks;
  if (Commits() <= g_commitsAtLastReArm) ++g_locksWithoutExit;
  SetDlgItemTextA(login, IDC_PASSWORD, State().settings.password);
  SendMessageA(login, WM_COMMAND, IDC_LOGIN_OK, 0);
}

uint32_t g_seed = 20261207;
uint32_t Random(uint32_t n) {
  g_seed = g_seed * 1664525u + 1013904223u;
  return (g_seed >> 8) % n;
}

class Soak : public PluginTest {};

TEST_F(Soak, HundredThousandTicksAndAHundredLocks) {
  DWORD now = GetTickCount();
  SetIdleClockForTests(&now);
  CallFunction(FN_SET_WORKSTATION_PASSWORD, "soak");
  CallFunction(FN_CAN_BACKGROUND, "1");
  CallFunction(FN_ACTIVATE_RECORD, "3");
  CallFunction(FN_ACTIVATE_FILEMAKER, "5");
  StopAllTimers(Guard().timerDialog);
  BringWindowToFront(Host());
  UINT_PTR unlocker = SetTimer(nullptr, 0, 10, CheckAndUnlock);

  const int kTicks = 100000;
  const int kLocks = 100;
  Resources start{};
  BYTE keys[256];
  int ticks = 0;
  int quietTicks = 0;
  while (ticks < kTicks || g_locks < kLocks) {
    // Mostly busy users, with a quiet spell long enough to lock every 1000 ticks.
    bool quietSpell = ticks % 1000 >= 940 || ticks >= kTicks;
    if (!quietSpell) {
      uint32_t roll = Random(100);
      if (roll < 20) {
        GetKeyboardState(keys);
        keys[0x41 + Random(26)] ^= 1;
        SetKeyboardState(keys);
      } else if (roll < 21) {
        SetCursorPos(100 + static_cast<int>(Random(400)), 100 + static_cast<int>(Random(300)));
      }
    }
    int committedBefore = State().recordCommitted;
    now += STEADY_LOOK_MS / 2;  // the two timers take turns: a tick's time between two of each
    SendMessageA(Guard().timerDialog, WM_TIMER, ticks % 2 ? FILEMAKER_TIMER : RECORD_TIMER, 0);
    ++ticks;
    // Between two real ticks the host has a quarter second to take in typed keys.
    if (committedBefore == 0 && State().recordCommitted == 1) PumpFor(0);
    // The commit's next key, and a lock that waits for its last, take their turns too.
    if (State().commit.stage != CommitStage::None) {
      PumpFor(0);
      SendMessageA(Guard().timerDialog, WM_TIMER, COMMIT_STEP_TIMER, 0);
    }
    if (State().waitingLock.due) SendMessageA(Guard().timerDialog, WM_TIMER, WAITING_LOCK_TIMER, 0);
    quietTicks = quietSpell ? quietTicks + 1 : 0;
    if (State().recordCommitted == 0) g_commitsAtLastReArm = Commits();
    if (ticks % 50 == 0) {
      KillTimer(Guard().timerDialog, KEYSCAN_TIMER);
      PumpFor(0);  // the host takes in typed keys; restore ticks run
      StopAllTimers(Guard().timerDialog);
      if (State().recordCommitted == 0) g_commitsAtLastReArm = Commits();
    }
    if (ticks == 2000) start = Measure();
    ASSERT_LT(ticks, 3 * kTicks) << "the locks did not come";
  }
  KillTimer(nullptr, unlocker);
  SetIdleClockForTests(nullptr);
  PumpFor(200);
  Resources end = Measure();

  std::printf(
      "soak: %d ticks, %d locks, %d commits; windows %d->%d, USER objects %lu->%lu, GDI objects %lu->%lu, "
      "handles %lu->%lu, private committed %lu->%lu KiB\n",
      ticks, g_locks, Commits(), start.windows, end.windows, start.user, end.user, start.gdi, end.gdi, start.handles,
      end.handles, static_cast<unsigned long>(start.committed / 1024),
      static_cast<unsigned long>(end.committed / 1024));
  EXPECT_GE(ticks, kTicks);
  EXPECT_GE(g_locks, kLocks);
  EXPECT_EQ(g_locksWithoutExit, 0) << "a lock came without an exit-record attempt";
  EXPECT_GT(start.windows, 0);
  EXPECT_EQ(end.windows, start.windows) << "windows left behind";
  EXPECT_LE(end.user, start.user);
  EXPECT_LE(end.gdi, start.gdi);
  EXPECT_LE(end.handles, start.handles + 2);
  EXPECT_GT(start.committed, 0u);
  EXPECT_LE(end.committed, start.committed + 512 * 1024) << "private memory grew";
  for (int vk : {VK_SHIFT, VK_CONTROL, VK_MENU, VK_LWIN}) {
    EXPECT_GE(GetKeyState(vk), 0) << "modifier " << vk << " left down";
    EXPECT_GE(GetAsyncKeyState(vk), 0) << "modifier " << vk << " left down";
  }
}

}  // namespace
