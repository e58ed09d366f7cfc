#include "portable/engine/TickPlan.h"

#include "portable/engine/IdleEngine.h"

namespace {

// Milliseconds from now until the count reaches `target` ticks: the moment
// itself, as a look every 250 ms would find it at the first look from then.
uint32_t MsUntilTicks(const IdleCounter& counter, int32_t target, uint32_t now) {
  if (target <= counter.ticks) return 1;
  int64_t fromLook = static_cast<int64_t>(target - counter.ticks) * TICK_MS - counter.partTickMs;
  int64_t left = fromLook - static_cast<int64_t>(now - counter.countedUpTo);
  if (left < 1) return 1;
  return left < QUIET_TICK_MS ? static_cast<uint32_t>(left) : QUIET_TICK_MS;
}

int32_t Earlier(int32_t a, int32_t b) { return a < b ? a : b; }

}  // namespace

uint32_t MsToRecordTick(const GuardState& state, uint32_t now, bool pending) {
  if (pending || state.windows.commitWaiting) return PENDING_TICK_MS;
  if (state.settings.recordLimitSeconds < 1) return state.settings.commitOnLeaving ? QUIET_TICK_MS : NO_TICK_DUE;
  return MsUntilTicks(state.recordIdle, TicksFor(state.settings.recordLimitSeconds), now);
}

uint32_t MsToFileMakerTick(const GuardState& state, uint32_t now) {
  const Settings& s = state.settings;
  if (s.fileMakerLimitSeconds < 1) return NO_TICK_DUE;
  if (state.waitingLock.due) return TICKS_PER_SECOND * TICK_MS;
  if (state.lockIsUp) return QUIET_TICK_MS;
  const IdleCounter& idle = state.fileMakerIdle;
  int32_t limit = TicksFor(s.fileMakerLimitSeconds);
  int32_t next = limit;
  if (idle.ticks < limit - 1) next = limit - 1;  // the commit before the lock
  int32_t warning = TicksFor(s.lockWarningSeconds);
  if (s.lockWarningSeconds >= 1) {
    int32_t left = limit - idle.ticks;
    // The warning's start, or the tick its shown seconds go down.
    int32_t shownSeconds = (left + TICKS_PER_SECOND - 1) / TICKS_PER_SECOND;
    int32_t downAt = left > warning ? limit - warning : limit - TicksFor(shownSeconds - 1);
    if (downAt > idle.ticks) next = Earlier(next, downAt);
    // While the notice shows, input anywhere closes it within a look.
    if (left <= warning) next = Earlier(next, idle.ticks + 1);
  }
  return MsUntilTicks(idle, next, now);
}
