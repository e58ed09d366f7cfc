#include "win32/input/OwnKeys.h"

#include <windows.h>

#include "win32/input/HostThreadHooks.h"

namespace {

// The plug-in's own key events on their way to this thread, oldest first. Each
// is told from the person's by its key and direction, so that a key of the
// person's typed in between is never taken for one of them.
struct OwnKeyEvent {
  uint8_t vk;
  bool up;
  DWORD at;
};
const int OWN_EVENTS_MOST = 16;
OwnKeyEvent g_own[OWN_EVENTS_MOST];
int g_ownCount;

// An own key that never reaches this thread (another program took the
// foreground meanwhile) must not swallow the user's next keys.
const DWORD OWN_KEYS_ARRIVE_MS = 1000;

void DropOldestOwn() {
  for (int i = 1; i < g_ownCount; ++i) g_own[i - 1] = g_own[i];
  --g_ownCount;
}

// Own events that never came within a second (another program took the
// foreground meanwhile) go: they must not swallow the person's next keys.
void DropLostOwn() {
  while (g_ownCount > 0 && GetTickCount() - g_own[0].at > OWN_KEYS_ARRIVE_MS) DropOldestOwn();
}

}  // namespace

bool TakeOwn(uint8_t vk, bool up) {
  DropLostOwn();
  if (g_ownCount == 0 || g_own[0].vk != vk || g_own[0].up != up) return false;
  DropOldestOwn();
  return true;
}

void ForgetOwnKeys() { g_ownCount = 0; }

bool OwnKeysOnTheirWay() {
  DropLostOwn();
  for (int i = 0; i < g_ownCount; ++i)
    if (!g_own[i].up) return true;
  return false;
}

void ExpectOwnKeyEvent(uint8_t vk, bool up) {
  if (!KeyboardHookInstalled()) return;
  if (g_ownCount == OWN_EVENTS_MOST) DropOldestOwn();
  g_own[g_ownCount++] = {vk, up, GetTickCount()};
}
