#include "win32/input/InputDates.h"

#include <atomic>

#include "portable/engine/PersonsInput.h"

typedef BOOL(WINAPI* GetLastInputInfoFunction)(PLASTINPUTINFO);

namespace {

// Written on the host's thread, read by the watching thread too: words.
// When the last of the person's keys or mouse clicks that reached the thread
// was made, by the message's own time (a move may be one Windows made up for
// a window that appeared under the cursor); 0: none yet.
std::atomic<uint32_t> g_personsInputAt;
// Lullex's own last key, and the person's last input just before it.
std::atomic<uint32_t> g_ownTypedAt;
std::atomic<uint32_t> g_personsBeforeOwn;

GetLastInputInfoFunction g_readLastInput;
bool g_readerLookedUp;

// When Windows last saw input in the session, Lullex's own keys included:
// read only through PersonsLastInput, which tells those apart.
bool ReadLastInputTime(uint32_t& at) {
  LASTINPUTINFO info = {sizeof info, 0};
  if (!WindowsDatesInput() || !g_readLastInput(&info)) return false;
  at = info.dwTime;
  return true;
}

OwnInputNote OwnKeysSoFar() {
  return {g_ownTypedAt.load(std::memory_order_acquire), g_personsBeforeOwn.load(std::memory_order_relaxed)};
}

}  // namespace

void NotePersonsMessage(const MSG& message) {
  if (message.message == WM_MOUSEMOVE) return;
  g_personsInputAt.store(message.time ? message.time : 1, std::memory_order_relaxed);
}

void NoteOwnKeyComing() {
  uint32_t before = 0;
  ReadLastInputTime(before);
  OwnInputNote note = OwnKeysSoFar();
  NoteOwnKey(note, before, GetTickCount());
  g_personsBeforeOwn.store(note.personsBefore, std::memory_order_relaxed);
  g_ownTypedAt.store(note.typedAt, std::memory_order_release);
}

// Looked up once, on the host's thread before any other: every tick asks.
bool WindowsDatesInput() {
  if (!g_readerLookedUp)
    g_readLastInput = reinterpret_cast<GetLastInputInfoFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetLastInputInfo")));
  g_readerLookedUp = true;
  return g_readLastInput != nullptr;
}

bool PersonsLastInput(uint32_t& at) {
  uint32_t windowsSaw;
  if (!ReadLastInputTime(windowsSaw)) return false;
  uint32_t onThread = g_personsInputAt.load(std::memory_order_relaxed);
  at = PersonsLastInputFrom(OwnKeysSoFar(), windowsSaw, onThread != 0, onThread);
  return true;
}

bool PersonPausedFor(uint32_t ms) {
  uint32_t at;
  if (!PersonsLastInput(at)) return true;
  return GetTickCount() - at >= ms;
}
