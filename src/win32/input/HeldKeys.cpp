#include "win32/input/HeldKeys.h"

#include "win32/input/HostThreadHooks.h"
#include "win32/system/HostWindows.h"

namespace {

// The person's keys held back while the plug-in holds the foreground.
struct HeldKey {
  uint8_t vk, scan;
  bool up, extended;
};
const int HELD_KEYS_MOST = 64;
HeldKey g_held[HELD_KEYS_MOST];
int g_heldCount;
bool g_holding;
DWORD g_holdStartedAt;
// The host was not in front when the hold began: every key that reaches it
// since came after, whatever the clock's coarse tick says.
bool g_holdingTypedBefore;
// A hold never outlives this, whatever else fails: the keys are the person's.
const DWORD HOLD_MOST_MS = 6000;

// Keys Windows handed this thread while the host was in front, not yet taken
// in: held with the rest, or they would reach whatever has the host's focus
// once the foreground has gone (none, under Wine: lost).
void HoldKeysStillQueued() {
  MSG message;
  for (int i = 0; i < HELD_KEYS_MOST && PeekMessageA(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE); ++i) {
    TranslateMessage(&message);  // the plug-in's own, or typed before the hold: the host's
    DispatchMessageA(&message);
  }
}

// The keys are the person's words: no copy stays once they are given back or
// dropped.
void ForgetHeldKeys() {
  SecureZeroMemory(g_held, sizeof g_held);
  g_heldCount = 0;
}

}  // namespace

void HoldPersonsKeys(bool typedBeforeToo) {
  // A hold under way keeps what it holds, and its start.
  if (!g_holding) {
    ForgetHeldKeys();
    g_holdStartedAt = GetTickCount();
  }
  g_holdingTypedBefore = typedBeforeToo;
  g_holding = MessageHookInstalled();
}

bool PersonsKeysHeld() { return g_holding && g_heldCount > 0; }

bool HoldKeyTypedDuringHold(const MSG& message) {
  // By the time it was typed: a key typed early in the hold and taken in late
  // (FileMaker busy) is held all the same.
  if (g_holding && static_cast<int32_t>(message.time - g_holdStartedAt) > static_cast<int32_t>(HOLD_MOST_MS))
    g_holding = false;
  if (!g_holding || (!g_holdingTypedBefore && static_cast<int32_t>(message.time - g_holdStartedAt) <= 0)) return false;
  bool up = (message.lParam & KEY_RELEASED) != 0;
  if (g_heldCount < HELD_KEYS_MOST)
    g_held[g_heldCount++] = {static_cast<uint8_t>(message.wParam), static_cast<uint8_t>((message.lParam >> 16) & 0xFF),
                             up, ((message.lParam >> 24) & 1) != 0};
  return true;
}

void StopHoldingKeys() {
  g_holding = false;
  ForgetHeldKeys();
}

bool GiveBackHeldKeys(bool anyway) {
  if (!g_holding) return true;
  HoldKeysStillQueued();
  // Nothing held: nothing whose order could suffer from the switch's delay.
  if (g_heldCount == 0) anyway = true;
  // Only another program's window takes them: never the host, nor the lock.
  HWND front = GetForegroundWindow();
  bool elsewhere = front && !BelongsToThisProcess(front);
  if (!elsewhere && !anyway) return false;
  g_holding = false;
  for (int i = 0; i < g_heldCount && elsewhere; ++i) {
    const HeldKey& held = g_held[i];
    DWORD flags = (held.up ? KEYEVENTF_KEYUP : 0) | (held.extended ? KEYEVENTF_EXTENDEDKEY : 0);
    keybd_event(held.vk, held.scan, flags, 0);
  }
  ForgetHeldKeys();
  return true;
}
