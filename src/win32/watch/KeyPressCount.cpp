#include "win32/watch/KeyPressCount.h"

#include <windows.h>

namespace {

HHOOK g_hook;
uint32_t g_presses;
uint32_t g_ownExpected;  // own presses typed that have not reached the thread yet
DWORD g_ownTypedAt;

// An own key that never reaches this thread (another program took the
// foreground meanwhile) must not swallow the user's next keys.
const DWORD OWN_KEYS_ARRIVE_MS = 1000;

const LPARAM KEY_RELEASED = static_cast<LPARAM>(1) << 31;

LRESULT CALLBACK CountKeyPress(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && !(lParam & KEY_RELEASED)) {
    if (g_ownExpected > 0)
      --g_ownExpected;
    else
      ++g_presses;
  }
  return CallNextHookEx(g_hook, code, wParam, lParam);
}

}  // namespace

void StartCountingKeyPresses() {
  if (!g_hook) g_hook = SetWindowsHookExA(WH_KEYBOARD, CountKeyPress, nullptr, GetCurrentThreadId());
}

void StopCountingKeyPresses() {
  if (g_hook) UnhookWindowsHookEx(g_hook);
  g_hook = nullptr;
  g_ownExpected = 0;
}

uint32_t KeyPressesSoFar() {
  if (g_ownExpected > 0 && GetTickCount() - g_ownTypedAt > OWN_KEYS_ARRIVE_MS) g_ownExpected = 0;
  return g_presses;
}

void ExpectOwnKeyPress() {
  if (!g_hook) return;
  ++g_ownExpected;
  g_ownTypedAt = GetTickCount();
}
