#include "win32/watch/HostThreadInput.h"

#include <windows.h>

namespace {

HHOOK g_hook;
HHOOK g_mouseHook;
uint32_t g_presses;
uint32_t g_wheelTurns;
uint32_t g_ownExpected;  // own presses typed that have not reached the thread yet
DWORD g_ownTypedAt;

// An own key that never reaches this thread (another program took the
// foreground meanwhile) must not swallow the user's next keys.
const DWORD OWN_KEYS_ARRIVE_MS = 1000;

const LPARAM KEY_RELEASED = static_cast<LPARAM>(1) << 31;
// The horizontal wheel's message, newer than the SDKs of old Windows.
const WPARAM HORIZONTAL_WHEEL = 0x020E;

LRESULT CALLBACK CountKeyPress(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && !(lParam & KEY_RELEASED)) {
    if (g_ownExpected > 0)
      --g_ownExpected;
    else
      ++g_presses;
  }
  return CallNextHookEx(g_hook, code, wParam, lParam);
}

LRESULT CALLBACK CountWheelTurn(int code, WPARAM message, LPARAM lParam) {
  if (code == HC_ACTION && (message == WM_MOUSEWHEEL || message == HORIZONTAL_WHEEL)) ++g_wheelTurns;
  return CallNextHookEx(g_mouseHook, code, message, lParam);
}

}  // namespace

void StartCountingKeyPresses() {
  if (!g_hook) g_hook = SetWindowsHookExA(WH_KEYBOARD, CountKeyPress, nullptr, GetCurrentThreadId());
  if (!g_mouseHook) g_mouseHook = SetWindowsHookExA(WH_MOUSE, CountWheelTurn, nullptr, GetCurrentThreadId());
}

void StopCountingKeyPresses() {
  if (g_hook) UnhookWindowsHookEx(g_hook);
  if (g_mouseHook) UnhookWindowsHookEx(g_mouseHook);
  g_hook = g_mouseHook = nullptr;
  g_ownExpected = 0;
}

uint32_t KeyPressesSoFar() {
  OwnKeysOnTheirWay();
  return g_presses;
}

uint32_t WheelTurnsSoFar() { return g_wheelTurns; }

bool OwnKeysOnTheirWay() {
  if (g_ownExpected > 0 && GetTickCount() - g_ownTypedAt > OWN_KEYS_ARRIVE_MS) g_ownExpected = 0;
  return g_ownExpected > 0;
}

void ExpectOwnKeyPress() {
  if (!g_hook) return;
  ++g_ownExpected;
  g_ownTypedAt = GetTickCount();
}
