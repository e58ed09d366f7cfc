// When each idle count next needs a look, so that FileMaker's thread wakes
// only when something can fall due: a limit, the tick before the lock, the
// lock warning's start and each of its seconds. Activity between two looks is
// dated by Windows, so a look at the deadline counts from the last of it.
#pragma once

#include <cstdint>

#include "portable/engine/GuardState.h"

// Nothing can fall due: the count's timer stops until a limit or the switch
// is set again.
const uint32_t NO_TICK_DUE = 0;
// With nothing to count (no record limit but the switch, the lock up) a look
// comes this seldom all the same, should what would move it never come.
const uint32_t QUIET_TICK_MS = 60000;
// Something under way (a commit waiting for its moment, the host just left)
// is looked at again this soon.
const uint32_t PENDING_TICK_MS = TICK_MS;
// FileMaker came to the front or left it: both counts look this soon.
const uint32_t ACTIVATION_LOOK_MS = 100;

// Milliseconds from now to the record count's next look; `pending`: a step
// waits to be retried.
uint32_t MsToRecordTick(const GuardState& state, uint32_t now, bool pending);
uint32_t MsToFileMakerTick(const GuardState& state, uint32_t now);
