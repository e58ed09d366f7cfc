// The person's keys into FileMaker's own windows, each with the time it was
// typed: a key typed after a commit opened the record again, whatever is in
// front by the time a look comes to see it.
#pragma once

#include <windows.h>

#include <cstdint>

#include "win32/WorkstationGuard.h"

// Keys are told from those into the guard's own windows; null: none counts.
void CountHostKeysFor(const WorkstationGuard* guard);
// For the message hook: a key press of the person's that the host's window
// takes in.
void NoteHostKey(const MSG& message);
// Presses into FileMaker's own windows so far; only ever grows.
uint32_t HostKeyPressesSoFar();
// When press number `press` (counted from 1) was typed; of a press too old to
// be kept, the oldest kept, which came later.
uint32_t HostKeyTypedAt(uint32_t press);
