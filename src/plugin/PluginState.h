// The plug-in's one workstation guard: settings, idle counts, the exit-record
// latch, the lock state and the timer dialog. Owned here, handed to the rest.
#pragma once

#include "win32/WorkstationGuard.h"

WorkstationGuard& Guard();
