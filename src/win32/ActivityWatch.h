// The watching thread: four times a second, off the host's thread, it reads the
// cursor and the session's last input, so that a tick that comes late (the
// host's thread was busy) can tell whether someone was there meanwhile. It
// shares what it saw through a sequence count, never a lock the host's thread
// could wait on.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "portable/engine/QuietWatch.h"

const int QUIET_WATCH_WORDS = sizeof(QuietWatch) / sizeof(uint32_t);

struct ActivityWatch {
  HANDLE thread;
  HANDLE stop;
  HMODULE module;  // the thread's reference, given back as it ends
  // Each count's last tick, written by the ticks, read by the watch.
  std::atomic<uint32_t> marks[WATCHED_COUNTS];
  // The watch as last published: odd while it is written.
  std::atomic<uint32_t> sequence;
  std::atomic<uint32_t> published[QUIET_WATCH_WORDS];
  // The watching thread's own: what the last sample read.
  QuietWatch watch;
  POINT cursor;
  DWORD lastInput;
};

// Starts the thread unless it runs. Without a reference to the plug-in's
// module (before Windows XP) nothing starts, and late ticks act as unwatched.
void StartActivityWatch(ActivityWatch& watch);
// Ends the thread and waits for it.
void StopActivityWatch(ActivityWatch& watch);
// What the watch saw since the count's tick at `since`; unknown when no watch runs.
WatchedQuiet ReadWatchedQuiet(ActivityWatch& watch, WatchedCount count, uint32_t since, uint32_t now);
// The count's tick at now: the watch measures its stretches from here.
void MarkTick(ActivityWatch& watch, WatchedCount count, uint32_t now);
