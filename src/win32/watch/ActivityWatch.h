// The watching thread: off the host's thread, it reads the session's last
// input four times a second while a tick is overdue, so that
// a tick that comes late (the host's thread was busy) can tell whether
// someone was there meanwhile. Otherwise it sleeps until the next tick is due. It
// shares what it saw through a sequence count, never a lock the host's thread
// could wait on.
#pragma once

#include <windows.h>

#include <cstdint>

#include "portable/engine/QuietWatch.h"
#include "win32/WorkstationGuard.h"

// Starts the thread unless it runs. Without a reference to the plug-in's
// module (before Windows XP) nothing starts, and late ticks act as unwatched.
void StartActivityWatch(ActivityWatch& watch);
// Ends the thread and waits for it, a while: one that does not end in time
// finishes alone, on what is its own.
void StopActivityWatch(ActivityWatch& watch);
// What the watch saw since the count's tick at `since`; unknown when no watch runs.
WatchedQuiet ReadWatchedQuiet(const ActivityWatch& watch, WatchedCount count, uint32_t since, uint32_t now);
// The count's tick (or its restart) at `at`: the watch measures its stretches from here.
void MarkTick(ActivityWatch& watch, WatchedCount count, uint32_t at);
// The count's next tick is due at `at` (due false: its timer stopped).
void SetTickDue(ActivityWatch& watch, WatchedCount count, bool due, uint32_t at);
