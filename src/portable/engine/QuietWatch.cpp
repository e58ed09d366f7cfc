#include "portable/engine/QuietWatch.h"

namespace {

// The later of two readings of a clock that wraps, seen from now.
uint32_t Later(uint32_t a, uint32_t b, uint32_t now) { return now - a < now - b ? a : b; }

uint32_t Longer(uint32_t a, uint32_t b) { return a > b ? a : b; }

}  // namespace

void StartQuietWatch(QuietWatch& watch, uint32_t now) {
  watch.lastSample = watch.lastActivity = now;
  for (int i = 0; i < WATCHED_COUNTS; ++i) watch.since[i] = now, watch.longestMs[i] = 0;
}

void NoteSample(QuietWatch& watch, uint32_t now, bool activity, const uint32_t marks[WATCHED_COUNTS]) {
  uint32_t seenAt = now;
  if (activity && now - watch.lastSample <= WATCH_LONGEST_GAP_MS) seenAt = watch.lastSample;
  for (int i = 0; i < WATCHED_COUNTS; ++i) {
    if (marks[i] != watch.since[i]) watch.since[i] = marks[i], watch.longestMs[i] = 0;
    uint32_t from = Later(watch.lastActivity, watch.since[i], now);
    // A stretch that began before the tick counts from the tick on.
    uint32_t quietUntil = Later(seenAt, from, now);
    watch.longestMs[i] = Longer(watch.longestMs[i], quietUntil - from);
  }
  if (activity) watch.lastActivity = Later(seenAt, watch.lastActivity, now);
  watch.lastSample = now;
}

WatchedQuiet QuietSinceTick(const QuietWatch& watch, WatchedCount count, uint32_t since, uint32_t now) {
  int i = static_cast<int>(count);
  WatchedQuiet quiet = {};
  if (watch.since[i] != since) return quiet;
  quiet.known = true;
  quiet.lastActivity = watch.lastActivity;
  quiet.activitySince = now - watch.lastActivity < now - since;
  // The stretch still going on, since the last activity or the tick.
  uint32_t ongoing = now - Later(watch.lastActivity, since, now);
  quiet.longestMs = Longer(watch.longestMs[i], ongoing);
  return quiet;
}
