#include "win32/watch/HostThreadInput.h"

#include <windows.h>

#include "win32/system/HostWindows.h"
#include "win32/watch/Timers.h"

namespace {

HHOOK g_hook;
HHOOK g_mouseHook;
HHOOK g_messageHook;
// The keyboard hook passed a key of the person's; the message hook sees it next.
bool g_personsKeyComing;
// When the last of the person's keys or mouse clicks that reached the thread
// was made, by the message's own time (a move may be one Windows made up for
// a window that appeared under the cursor).
DWORD g_personsInputAt;
bool g_personsInputSeen;
// The person's last input as last read.
DWORD g_personsLast;
// The dialog whose FileMaker tick the person's next input brings forward.
HWND g_tickOnInput;
uint32_t g_presses;
uint32_t g_wheelTurns;
DWORD g_ownTypedAt;

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

// Windows dates input when it takes it in; an own key's press and release
// come within this of the moment it was noted.
const int32_t OWN_INPUT_SLACK_MS = 100;

// An own key that never reaches this thread (another program took the
// foreground meanwhile) must not swallow the user's next keys.
const DWORD OWN_KEYS_ARRIVE_MS = 1000;

const LPARAM KEY_RELEASED = static_cast<LPARAM>(1) << 31;
// The horizontal wheel's message, newer than the SDKs of old Windows.
const WPARAM HORIZONTAL_WHEEL = 0x020E;

void DropOldestOwn() {
  for (int i = 1; i < g_ownCount; ++i) g_own[i - 1] = g_own[i];
  --g_ownCount;
}

// Own events that never came within a second (another program took the
// foreground meanwhile) go: they must not swallow the person's next keys.
void DropLostOwn() {
  while (g_ownCount > 0 && GetTickCount() - g_own[0].at > OWN_KEYS_ARRIVE_MS) DropOldestOwn();
}

bool TakeOwn(uint8_t vk, bool up) {
  DropLostOwn();
  if (g_ownCount == 0 || g_own[0].vk != vk || g_own[0].up != up) return false;
  DropOldestOwn();
  return true;
}

LRESULT CALLBACK CountKeyPress(int code, WPARAM wParam, LPARAM lParam) {
  if (code != HC_ACTION) return CallNextHookEx(g_hook, code, wParam, lParam);
  bool up = (lParam & KEY_RELEASED) != 0;
  g_personsKeyComing = !TakeOwn(static_cast<uint8_t>(wParam), up);
  if (g_personsKeyComing && !up) ++g_presses;
  return CallNextHookEx(g_hook, code, wParam, lParam);
}

// Sees the key message the keyboard hook just passed, with the time it was
// typed: one of the person's typed since the hold began is held back. One
// typed before it (waiting while the host was busy), or within the same tick
// of the clock, is the host's.
LRESULT CALLBACK HoldKeyTypedDuringHold(int code, WPARAM removal, LPARAM lParam) {
  MSG& message = *reinterpret_cast<MSG*>(lParam);
  bool key = message.message == WM_KEYDOWN || message.message == WM_KEYUP || message.message == WM_SYSKEYDOWN ||
             message.message == WM_SYSKEYUP;
  bool mouse = message.message >= WM_MOUSEFIRST && message.message <= WM_MOUSELAST;
  bool persons = code == HC_ACTION && removal == PM_REMOVE && (mouse || (key && g_personsKeyComing));
  if (persons && message.message != WM_MOUSEMOVE) {
    g_personsInputAt = message.time;
    g_personsInputSeen = true;
  }
  if (persons && g_tickOnInput) {
    SetTimer(g_tickOnInput, FILEMAKER_TIMER, USER_TIMER_MINIMUM, nullptr);
    g_tickOnInput = nullptr;
  }
  if (code != HC_ACTION || removal != PM_REMOVE || !key || !g_personsKeyComing)
    return CallNextHookEx(g_messageHook, code, removal, lParam);
  g_personsKeyComing = false;
  if (g_holding && GetTickCount() - g_holdStartedAt > HOLD_MOST_MS) g_holding = false;
  if (!g_holding || (!g_holdingTypedBefore && static_cast<int32_t>(message.time - g_holdStartedAt) <= 0))
    return CallNextHookEx(g_messageHook, code, removal, lParam);
  bool up = (message.lParam & KEY_RELEASED) != 0;
  // Someone at the desk, but no typing in the host: it never gets the key.
  if (!up) {
    --g_presses;
    ++g_wheelTurns;
  }
  if (g_heldCount < HELD_KEYS_MOST)
    g_held[g_heldCount++] = {static_cast<uint8_t>(message.wParam), static_cast<uint8_t>((message.lParam >> 16) & 0xFF),
                             up, ((message.lParam >> 24) & 1) != 0};
  message.message = WM_NULL;
  return CallNextHookEx(g_messageHook, code, removal, lParam);
}

LRESULT CALLBACK CountWheelTurn(int code, WPARAM message, LPARAM lParam) {
  if (code == HC_ACTION && (message == WM_MOUSEWHEEL || message == HORIZONTAL_WHEEL)) ++g_wheelTurns;
  return CallNextHookEx(g_mouseHook, code, message, lParam);
}

}  // namespace

void StartCountingKeyPresses() {
  if (!g_hook) g_hook = SetWindowsHookExA(WH_KEYBOARD, CountKeyPress, nullptr, GetCurrentThreadId());
  if (!g_mouseHook) g_mouseHook = SetWindowsHookExA(WH_MOUSE, CountWheelTurn, nullptr, GetCurrentThreadId());
  if (!g_messageHook)
    g_messageHook = SetWindowsHookExA(WH_GETMESSAGE, HoldKeyTypedDuringHold, nullptr, GetCurrentThreadId());
}

void StopCountingKeyPresses() {
  if (g_hook) UnhookWindowsHookEx(g_hook);
  if (g_mouseHook) UnhookWindowsHookEx(g_mouseHook);
  if (g_messageHook) UnhookWindowsHookEx(g_messageHook);
  g_hook = g_mouseHook = g_messageHook = nullptr;
  g_ownCount = 0;
  g_holding = false;
  g_tickOnInput = nullptr;
}

void TickOnPersonsInput(HWND dialog) { g_tickOnInput = dialog; }

uint32_t KeyPressesSoFar() { return g_presses; }

typedef BOOL(WINAPI* GetLastInputInfoFunction)(PLASTINPUTINFO);

namespace {

GetLastInputInfoFunction g_readLastInput;
bool g_readerLookedUp;

// Dated within the slack of the plug-in's own last key: that key.
bool IsOwnInput(uint32_t at) {
  int32_t sinceOwn = static_cast<int32_t>(at - g_ownTypedAt);
  return g_ownTypedAt && sinceOwn > -OWN_INPUT_SLACK_MS && sinceOwn < OWN_INPUT_SLACK_MS;
}

}  // namespace

// Looked up once: every tick asks.
bool WindowsDatesInput() {
  if (!g_readerLookedUp)
    g_readLastInput = reinterpret_cast<GetLastInputInfoFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetLastInputInfo")));
  g_readerLookedUp = true;
  return g_readLastInput != nullptr;
}

bool ReadLastInputTime(uint32_t& at) {
  LASTINPUTINFO info = {sizeof info, 0};
  if (!WindowsDatesInput() || !g_readLastInput(&info)) return false;
  at = info.dwTime;
  return true;
}

bool PersonsLastInput(uint32_t& at) {
  uint32_t windowsSaw;
  if (!ReadLastInputTime(windowsSaw)) return false;
  // The plug-in's own key is nobody's input: the person's last key or click
  // before it, where it reached this thread, or what was read before. The
  // same input reads the same each time.
  if (!IsOwnInput(windowsSaw))
    g_personsLast = windowsSaw;
  else if (g_personsInputSeen && static_cast<int32_t>(g_personsInputAt - g_personsLast) > 0)
    g_personsLast = g_personsInputAt;
  at = g_personsLast;
  return true;
}

bool PersonPausedFor(uint32_t ms) {
  uint32_t at;
  if (!ReadLastInputTime(at) || IsOwnInput(at)) return true;
  return GetTickCount() - at >= ms;
}

uint32_t WheelTurnsSoFar() { return g_wheelTurns; }

bool OwnKeysOnTheirWay() {
  DropLostOwn();
  for (int i = 0; i < g_ownCount; ++i)
    if (!g_own[i].up) return true;
  return false;
}

void ExpectOwnKeyEvent(uint8_t vk, bool up) {
  g_ownTypedAt = GetTickCount();
  if (!g_hook) return;
  if (g_ownCount == OWN_EVENTS_MOST) DropOldestOwn();
  g_own[g_ownCount++] = {vk, up, g_ownTypedAt};
}

void HoldPersonsKeys(bool typedBeforeToo) {
  // A hold under way keeps what it holds, and its start.
  if (!g_holding) {
    g_heldCount = 0;
    g_holdStartedAt = GetTickCount();
  }
  g_holdingTypedBefore = typedBeforeToo;
  g_holding = g_messageHook != nullptr;
}

bool PersonsKeysHeld() { return g_holding && g_heldCount > 0; }

namespace {

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

}  // namespace

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
  g_heldCount = 0;
  return true;
}
