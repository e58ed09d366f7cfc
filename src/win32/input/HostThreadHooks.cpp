#include "win32/input/HostThreadHooks.h"

#include <windows.h>

#include "win32/input/HeldKeys.h"
#include "win32/input/HostKeys.h"
#include "win32/input/InputDates.h"
#include "win32/input/LookOnInput.h"
#include "win32/input/OwnKeys.h"

namespace {

HHOOK g_hook;
HHOOK g_mouseHook;
HHOOK g_messageHook;
// The keyboard hook passed a key of the person's; the message hook sees it next.
bool g_personsKeyComing;
uint32_t g_presses;
uint32_t g_wheelTurns;

// The horizontal wheel's message, newer than the SDKs of old Windows.
const WPARAM HORIZONTAL_WHEEL = 0x020E;

LRESULT CALLBACK CountKeyPress(int code, WPARAM wParam, LPARAM lParam) {
  if (code != HC_ACTION) return CallNextHookEx(g_hook, code, wParam, lParam);
  bool up = (lParam & KEY_RELEASED) != 0;
  g_personsKeyComing = !TakeOwn(static_cast<uint8_t>(wParam), up);
  if (g_personsKeyComing && !up) ++g_presses;
  return CallNextHookEx(g_hook, code, wParam, lParam);
}

// Sees each message the thread takes in: the person's key or mouse message
// dates their input and brings a look forward. Sees the key message the
// keyboard hook just passed, with the time it was typed: one of the person's
// typed since the hold began is held back. One typed before it (waiting while
// the host was busy), or within the same tick of the clock, is the host's.
LRESULT CALLBACK SeeMessageTaken(int code, WPARAM removal, LPARAM lParam) {
  MSG& message = *reinterpret_cast<MSG*>(lParam);
  bool key = message.message == WM_KEYDOWN || message.message == WM_KEYUP || message.message == WM_SYSKEYDOWN ||
             message.message == WM_SYSKEYUP;
  bool mouse = message.message >= WM_MOUSEFIRST && message.message <= WM_MOUSELAST;
  bool taken = code == HC_ACTION && removal == PM_REMOVE;
  bool personsKey = taken && key && g_personsKeyComing;
  if (personsKey || (taken && mouse)) {
    NotePersonsMessage(message);
    TickNowOnPersonsInput();
  }
  if (!personsKey) return CallNextHookEx(g_messageHook, code, removal, lParam);
  g_personsKeyComing = false;
  if (!HoldKeyTypedDuringHold(message)) {
    NoteHostKey(message);
    return CallNextHookEx(g_messageHook, code, removal, lParam);
  }
  // Someone at the desk, but no typing in the host: it never gets the key.
  if ((message.lParam & KEY_RELEASED) == 0) {
    --g_presses;
    ++g_wheelTurns;
  }
  message.message = WM_NULL;
  return CallNextHookEx(g_messageHook, code, removal, lParam);
}

LRESULT CALLBACK CountWheelTurn(int code, WPARAM message, LPARAM lParam) {
  if (code == HC_ACTION && (message == WM_MOUSEWHEEL || message == HORIZONTAL_WHEEL)) ++g_wheelTurns;
  return CallNextHookEx(g_mouseHook, code, message, lParam);
}

}  // namespace

void StartCountingKeyPresses(const WorkstationGuard& guard) {
  CountHostKeysFor(&guard);
  if (!g_hook) g_hook = SetWindowsHookExA(WH_KEYBOARD, CountKeyPress, nullptr, GetCurrentThreadId());
  if (!g_mouseHook) g_mouseHook = SetWindowsHookExA(WH_MOUSE, CountWheelTurn, nullptr, GetCurrentThreadId());
  if (!g_messageHook) g_messageHook = SetWindowsHookExA(WH_GETMESSAGE, SeeMessageTaken, nullptr, GetCurrentThreadId());
}

void StopCountingKeyPresses() {
  if (g_hook) UnhookWindowsHookEx(g_hook);
  if (g_mouseHook) UnhookWindowsHookEx(g_mouseHook);
  if (g_messageHook) UnhookWindowsHookEx(g_messageHook);
  g_hook = g_mouseHook = g_messageHook = nullptr;
  CountHostKeysFor(nullptr);
  ForgetOwnKeys();
  StopHoldingKeys();
  TickOnPersonsInput(nullptr, 0);
}

uint32_t KeyPressesSoFar() { return g_presses; }

uint32_t WheelTurnsSoFar() { return g_wheelTurns; }

bool KeyboardHookInstalled() { return g_hook != nullptr; }

bool MessageHookInstalled() { return g_messageHook != nullptr; }
