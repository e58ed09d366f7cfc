#include "win32/watch/ActivityWatch.h"

#include <atomic>
#include <cstring>
#include <new>

#include "win32/input/InputDates.h"
#include "win32/system/ModuleReference.h"
#include "win32/watch/Timers.h"

const int QUIET_WATCH_WORDS = sizeof(QuietWatch) / sizeof(uint32_t);
static_assert(QUIET_WATCH_WORDS * sizeof(uint32_t) == sizeof(QuietWatch), "the watch is published in words");

struct WatchingThread {
  LONG holders;      // the guard and the thread: the last to let go frees it
  HANDLE stop;       // set to end the thread
  HANDLE replanned;  // set when a count's next tick moved
  HMODULE module;    // the thread's reference, given back as it ends
  // Each count's last tick, written by the ticks, read by the thread.
  std::atomic<uint32_t> marks[WATCHED_COUNTS];
  // When each count's next tick is due; dueSet 0: its timer does not run.
  std::atomic<uint32_t> dues[WATCHED_COUNTS];
  std::atomic<uint32_t> dueSet[WATCHED_COUNTS];
  // The watch as last published: odd while it is written.
  std::atomic<uint32_t> sequence;
  std::atomic<uint32_t> published[QUIET_WATCH_WORDS];
  // The thread's own: what the last sample read.
  QuietWatch watch;
  uint32_t lastInput;
};

namespace {

void Publish(WatchingThread& w) {
  uint32_t words[QUIET_WATCH_WORDS];
  std::memcpy(words, &w.watch, sizeof words);
  w.sequence.fetch_add(1, std::memory_order_relaxed);
  std::atomic_thread_fence(std::memory_order_release);
  for (int i = 0; i < QUIET_WATCH_WORDS; ++i) w.published[i].store(words[i], std::memory_order_relaxed);
  w.sequence.fetch_add(1, std::memory_order_release);
}

// A copy of what was published; false if it was being written each time.
bool ReadPublished(WatchingThread& w, QuietWatch& out) {
  for (int tries = 0; tries < 4; ++tries) {
    uint32_t before = w.sequence.load(std::memory_order_acquire);
    if (before & 1) continue;
    uint32_t words[QUIET_WATCH_WORDS];
    for (int i = 0; i < QUIET_WATCH_WORDS; ++i) words[i] = w.published[i].load(std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_acquire);
    if (w.sequence.load(std::memory_order_relaxed) != before) continue;
    std::memcpy(&out, words, sizeof out);
    return true;
  }
  return false;
}

// Windows dates every input of the person's: a cursor that moved without
// input was moved by a program, and Lullex's own keys are no one's.
void TakeActivitySample(WatchingThread& w) {
  uint32_t lastInput = w.lastInput;
  bool input = PersonsLastInput(lastInput) && lastInput != w.lastInput;
  w.lastInput = lastInput;
  uint32_t marks[WATCHED_COUNTS];
  for (int i = 0; i < WATCHED_COUNTS; ++i) marks[i] = w.marks[i].load(std::memory_order_relaxed);
  NoteSample(w.watch, IdleClockNow(), input, marks, &lastInput);
  Publish(w);
}

// A tick on time reads all it needs itself from Windows' date of the last
// input (the thread runs from Windows XP on, which dates it): the thread
// sleeps until a tick is due, and samples only while one is overdue (the
// host's thread busy).
DWORD SampleIfOverdue(WatchingThread& w) {
  if (IdleClockIsSetForTests()) return WATCH_SAMPLE_MS;  // the test sends the ticks: no real time between
  uint32_t now = IdleClockNow();
  DWORD wait = INFINITE;
  for (int i = 0; i < WATCHED_COUNTS; ++i) {
    if (!w.dueSet[i].load(std::memory_order_relaxed)) continue;
    int32_t left = static_cast<int32_t>(w.dues[i].load(std::memory_order_relaxed) - now);
    if (left <= 0) {
      TakeActivitySample(w);
      return WATCH_SAMPLE_MS;
    }
    if (static_cast<DWORD>(left) < wait) wait = static_cast<DWORD>(left);
  }
  return wait;
}

void LetGo(WatchingThread* w) {
  if (InterlockedDecrement(&w->holders) != 0) return;
  if (w->stop) CloseHandle(w->stop);
  if (w->replanned) CloseHandle(w->replanned);
  w->~WatchingThread();
  HeapFree(GetProcessHeap(), 0, w);
}

// The thread holds its own reference to the module: should the host free the
// library without the shutdown call, its code stays mapped.
DWORD WINAPI Watch(LPVOID param) {
  WatchingThread* w = static_cast<WatchingThread*>(param);
  HMODULE module = w->module;
  // A test that sets the idle clock sends the ticks itself: no sample of real
  // time may come between them.
  HANDLE wakers[] = {w->stop, w->replanned};
  DWORD wait = 0;
  while (WaitForMultipleObjects(2, wakers, FALSE, wait) != WAIT_OBJECT_0) wait = SampleIfOverdue(*w);
  LetGo(w);
  FreeLibraryAndExitThread(module, 0);
  return 0;
}

}  // namespace

void StartActivityWatch(ActivityWatch& watch) {
  if (watch.running) return;
  void* memory = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(WatchingThread));
  if (!memory) return;
  WatchingThread* w = new (memory) WatchingThread();
  uint32_t now = IdleClockNow();
  StartQuietWatch(w->watch, now);
  for (int i = 0; i < WATCHED_COUNTS; ++i) w->marks[i].store(now, std::memory_order_relaxed);
  PersonsLastInput(w->lastInput);
  Publish(*w);
  w->holders = 2;
  w->module = ReferenceToThisModule();
  w->stop = w->module ? CreateEventA(nullptr, TRUE, FALSE, nullptr) : nullptr;
  w->replanned = w->stop ? CreateEventA(nullptr, FALSE, FALSE, nullptr) : nullptr;
  watch.thread = w->replanned ? CreateThread(nullptr, 0, Watch, w, 0, nullptr) : nullptr;
  if (watch.thread) {
    watch.running = w;
    return;
  }
  if (w->module) FreeLibrary(w->module);
  w->holders = 1;
  LetGo(w);
}

void StopActivityWatch(ActivityWatch& watch) {
  WatchingThread* w = watch.running;
  if (!w) return;
  watch.running = nullptr;  // nothing known until a thread runs again
  SetEvent(w->stop);
  // Its loop ends within a sample; should it not, it ends later on its own
  // block, holding the module meanwhile.
  WaitForSingleObject(watch.thread, 5000);
  CloseHandle(watch.thread);
  watch.thread = nullptr;
  LetGo(w);
}

WatchedQuiet ReadWatchedQuiet(const ActivityWatch& watch, WatchedCount count, uint32_t since, uint32_t now) {
  QuietWatch seen;
  if (!watch.running || !ReadPublished(*watch.running, seen)) return WatchedQuiet();
  return QuietSinceTick(seen, count, since, now);
}

void MarkTick(ActivityWatch& watch, WatchedCount count, uint32_t at) {
  if (watch.running) watch.running->marks[static_cast<int>(count)].store(at, std::memory_order_relaxed);
}

void SetTickDue(ActivityWatch& watch, WatchedCount count, bool due, uint32_t at) {
  WatchingThread* w = watch.running;
  if (!w) return;
  int i = static_cast<int>(count);
  w->dues[i].store(at, std::memory_order_relaxed);
  w->dueSet[i].store(due ? 1 : 0, std::memory_order_release);
  SetEvent(w->replanned);
}
