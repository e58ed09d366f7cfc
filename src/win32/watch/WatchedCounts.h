// The idle counts outside their ticks: the one way a count starts again (a
// limit set, the lock ended, a key held, the panel's buttons), always marked
// for the watching thread, which measures its stretches from there. A count
// restarted without its mark would leave the next late tick knowing nothing of
// who was there.
#pragma once

#include "portable/engine/QuietWatch.h"
#include "win32/WorkstationGuard.h"

IdleCounter& CounterOf(GuardState& state, WatchedCount count);

// The snapshot of a count from the cursor and keyboard of this moment.
void TakeSnapshotNow(IdleCounter& counter);
// That, and the count's idle time back to nothing from now, marked.
void StartCountNow(WorkstationGuard& guard, WatchedCount count);
// A limit set: the watching thread runs from the first one, and the count
// starts afresh.
void StartLimitCount(WorkstationGuard& guard, WatchedCount count);
// After a tick of that count: the watch measures from where it left the
// count, and the count's next tick is planned.
void MarkCount(WorkstationGuard& guard, WatchedCount count);
// The count's timer set for the moment its next tick is due (stopped where
// none can be), and the watching thread told; `pending`: a step of the
// record tick waits to be retried.
void PlanCountTick(WorkstationGuard& guard, WatchedCount count, bool pending = false);
// Both counts planned again, never later than they were, because something
// changed what is due. The one place every such change calls: each external
// function, the hidden panel, Windows' session notices (its lock and unlock),
// sleep and resume, and the unlock (through the counts it starts again).
void PlanLooks(WorkstationGuard& guard);
// The count looks within ms at the latest: FileMaker came or went, Windows
// resumed from sleep.
void LookWithin(WorkstationGuard& guard, WatchedCount count, uint32_t ms);
// The plug-in's own keys have all reached the host: the keyboard as they left
// it is no one's typing, for either count. Each Ctrl+Enter flips the toggle
// bits of Ctrl and Enter, and a commit stopped by FileMaker's question leaves
// them flipped.
void TakeInOwnKeys(GuardState& state);
