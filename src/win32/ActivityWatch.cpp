#include "win32/ActivityWatch.h"

#include <cstring>

#include "win32/ModuleReference.h"
#include "win32/Timers.h"

namespace {

// GetLastInputInfo came with Windows 2000: looked up, and without it the
// cursor alone tells.
typedef BOOL(WINAPI* GetLastInputInfoFunction)(PLASTINPUTINFO);

GetLastInputInfoFunction LastInputReader() {
  return reinterpret_cast<GetLastInputInfoFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetLastInputInfo")));
}

bool ReadLastInput(DWORD& at) {
  GetLastInputInfoFunction read = LastInputReader();
  LASTINPUTINFO info = {sizeof info, 0};
  if (!read || !read(&info)) return false;
  at = info.dwTime;
  return true;
}

void Publish(ActivityWatch& w) {
  uint32_t words[QUIET_WATCH_WORDS];
  std::memcpy(words, &w.watch, sizeof words);
  w.sequence.fetch_add(1, std::memory_order_relaxed);
  std::atomic_thread_fence(std::memory_order_release);
  for (int i = 0; i < QUIET_WATCH_WORDS; ++i) w.published[i].store(words[i], std::memory_order_relaxed);
  w.sequence.fetch_add(1, std::memory_order_release);
}

// A copy of what was published; false if it was being written each time.
bool ReadPublished(ActivityWatch& w, QuietWatch& out) {
  for (int tries = 0; tries < 4; ++tries) {
    uint32_t before = w.sequence.load(std::memory_order_acquire);
    if (before == 0 || (before & 1)) continue;
    uint32_t words[QUIET_WATCH_WORDS];
    for (int i = 0; i < QUIET_WATCH_WORDS; ++i) words[i] = w.published[i].load(std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_acquire);
    if (w.sequence.load(std::memory_order_relaxed) != before) continue;
    std::memcpy(&out, words, sizeof out);
    return true;
  }
  return false;
}

void TakeActivitySample(ActivityWatch& w) {
  POINT cursor;
  DWORD lastInput = w.lastInput;
  bool moved = GetCursorPos(&cursor) && (cursor.x != w.cursor.x || cursor.y != w.cursor.y);
  if (moved) w.cursor = cursor;
  bool input = ReadLastInput(lastInput) && lastInput != w.lastInput;
  w.lastInput = lastInput;
  uint32_t marks[WATCHED_COUNTS];
  for (int i = 0; i < WATCHED_COUNTS; ++i) marks[i] = w.marks[i].load(std::memory_order_relaxed);
  NoteSample(w.watch, IdleClockNow(), moved || input, marks);
  Publish(w);
}

// The thread holds its own reference to the module: should the host free the
// library without the shutdown call, its code stays mapped.
DWORD WINAPI Watch(LPVOID param) {
  ActivityWatch& w = *static_cast<ActivityWatch*>(param);
  HMODULE module = w.module;
  // A test that sets the idle clock sends the ticks itself: no sample of real
  // time may come between them.
  while (WaitForSingleObject(w.stop, WATCH_SAMPLE_MS) == WAIT_TIMEOUT)
    if (!IdleClockIsSetForTests()) TakeActivitySample(w);
  FreeLibraryAndExitThread(module, 0);
  return 0;
}

}  // namespace

void StartActivityWatch(ActivityWatch& w) {
  if (w.thread) return;
  w.module = ReferenceToThisModule();
  if (!w.module) return;
  uint32_t now = IdleClockNow();
  StartQuietWatch(w.watch, now);
  for (int i = 0; i < WATCHED_COUNTS; ++i) w.marks[i].store(now, std::memory_order_relaxed);
  GetCursorPos(&w.cursor);
  ReadLastInput(w.lastInput);
  Publish(w);
  w.stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  w.thread = w.stop ? CreateThread(nullptr, 0, Watch, &w, 0, nullptr) : nullptr;
  if (w.thread) return;
  if (w.stop) CloseHandle(w.stop), w.stop = nullptr;
  FreeLibrary(w.module);
}

void StopActivityWatch(ActivityWatch& w) {
  if (!w.thread) return;
  SetEvent(w.stop);
  // Its loop ends within a sample; should it not, it still holds the module.
  WaitForSingleObject(w.thread, 5000);
  CloseHandle(w.thread);
  CloseHandle(w.stop);
  w.thread = w.stop = nullptr;
  w.sequence.store(0, std::memory_order_relaxed);  // nothing known until it runs again
}

WatchedQuiet ReadWatchedQuiet(ActivityWatch& w, WatchedCount count, uint32_t since, uint32_t now) {
  QuietWatch seen;
  if (!w.thread || !ReadPublished(w, seen)) return WatchedQuiet();
  return QuietSinceTick(seen, count, since, now);
}

void MarkTick(ActivityWatch& w, WatchedCount count, uint32_t now) {
  w.marks[static_cast<int>(count)].store(now, std::memory_order_relaxed);
}
