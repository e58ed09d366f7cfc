#include "portable/engine/QuietWatch.h"

namespace {

// The later of two readings of a clock that wraps, seen from now.
uint32_t Later(uint32_t a, uint32_t b, uint32_t now) { return now - a < now - b ? a : b; }

uint32_t Longer(uint32_t a, uint32_t b) { return a > b ? a : b; }

}  // namespace

void StartQuietWatch(QuietWatch& watch, uint32_t now) {
  watch = QuietWatch();
  watch.lastSample = watch.lastActivity = now;
  for (int i = 0; i < WATCHED_COUNTS; ++i) watch.since[i] = now;
}

void NoteSample(QuietWatch& watch, uint32_t now, bool activity, const uint32_t marks[WATCHED_COUNTS],
                const uint32_t* datedAt) {
  uint32_t seenAt = now;
  if (activity && now - watch.lastSample <= WATCH_LONGEST_GAP_MS) seenAt = watch.lastSample;
  if (activity && datedAt && static_cast<int32_t>(now - *datedAt) >= 0) seenAt = *datedAt;
  for (int i = 0; i < WATCHED_COUNTS; ++i) {
    if (marks[i] != watch.since[i]) {
      watch.since[i] = marks[i];
      watch.activitySince[i] = watch.firstQuietMs[i] = watch.longestLaterMs[i] = 0;
    }
    if (!activity) continue;
    // Dated before the tick: that tick saw it.
    if (datedAt && static_cast<int32_t>(*datedAt - watch.since[i]) <= 0) continue;
    // Activity dated before the tick (it may have come just after) ends the
    // first stretch at once.
    uint32_t at = Later(seenAt, watch.since[i], now);
    if (!watch.activitySince[i])
      watch.activitySince[i] = 1, watch.firstQuietMs[i] = at - watch.since[i];
    else
      watch.longestLaterMs[i] = Longer(watch.longestLaterMs[i], at - Later(watch.lastActivity, watch.since[i], now));
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
  quiet.activitySince = watch.activitySince[i] != 0;
  if (!quiet.activitySince) {
    quiet.firstQuietMs = now - since;
    return quiet;
  }
  quiet.firstQuietMs = watch.firstQuietMs[i];
  // The stretch still going on, since the last activity.
  quiet.longestLaterMs = Longer(watch.longestLaterMs[i], now - watch.lastActivity);
  return quiet;
}

WatchedQuiet QuietFromLastInput(uint32_t since, bool dated, uint32_t lastInput, uint32_t now) {
  WatchedQuiet quiet = {};
  quiet.known = true;
  quiet.activitySince = dated;
  quiet.firstQuietMs = (dated ? lastInput : now) - since;
  quiet.longestLaterMs = dated ? now - lastInput : 0;
  quiet.lastActivity = lastInput;
  return quiet;
}
