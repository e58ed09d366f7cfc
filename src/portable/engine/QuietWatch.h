// What a thread of the plug-in's own sees of the user between two ticks of an
// idle count: when it last saw activity, how long the count's tick waited for
// the first of it, and the longest stretch without activity after that. The
// host's thread may be busy for seconds (an import, a report, a wait on the
// server) and miss the mouse and the keys meanwhile; this says whether someone
// was there. No Windows here: the watching thread samples and calls
// NoteSample, the ticks read what it published.
#pragma once

#include <cstdint>

// One slot per idle count that reads the watch.
enum class WatchedCount : uint8_t { Record, FileMaker };
const int WATCHED_COUNTS = 2;

// Samples come every 250 ms. Activity seen after a gap no longer than this is
// dated at the sample before it (it may have come just after); after a longer
// gap the watch saw nothing in between (the machine slept, the thread was
// held up) and dates it when seen.
const uint32_t WATCH_SAMPLE_MS = 250;
const uint32_t WATCH_LONGEST_GAP_MS = 1000;

// Words only: the watching thread publishes it word by word.
struct QuietWatch {
  uint32_t lastSample;
  uint32_t lastActivity;
  // Per count: the tick that the stretches are measured from, whether activity
  // came after it (0 or 1), the stretch from the tick to that first activity,
  // and the longest stretch between two activities after it.
  uint32_t since[WATCHED_COUNTS];
  uint32_t activitySince[WATCHED_COUNTS];
  uint32_t firstQuietMs[WATCHED_COUNTS];
  uint32_t longestLaterMs[WATCHED_COUNTS];
};

void StartQuietWatch(QuietWatch& watch, uint32_t now);
// One sample at now; marks: each count's last tick, as the ticks asked. Where
// Windows dated the activity (datedAt), it came then, however long the watch
// slept before this sample.
void NoteSample(QuietWatch& watch, uint32_t now, bool activity, const uint32_t marks[WATCHED_COUNTS],
                const uint32_t* datedAt = nullptr);

// What a tick learns from the watch about the time since its count's tick
// before (`since`).
struct WatchedQuiet {
  bool known;          // false: no watch, or it has not caught up with that tick
  bool activitySince;  // it saw activity after that tick
  // From that tick to the first activity; with none, up to now.
  uint32_t firstQuietMs;
  // The longest stretch without activity after the first, the one still going
  // on included; 0 without activity.
  uint32_t longestLaterMs;
  uint32_t lastActivity;  // when it last saw activity
};
WatchedQuiet QuietSinceTick(const QuietWatch& watch, WatchedCount count, uint32_t since, uint32_t now);
// The same from the person's last input alone, as Windows dated it (dated:
// after `since`), for a tick the watch did not follow. Every stretch before
// that input lies between the tick before and it: shorter than the first
// stretch it gives, which only errs toward nobody there.
WatchedQuiet QuietFromLastInput(uint32_t since, bool dated, uint32_t lastInput, uint32_t now);
