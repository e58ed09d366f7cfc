// The timer dialog's ticks, one at a time: the fixture its tests share.
#pragma once

#include <cstring>

#include "TickFixture.h"
#include "plugin/Functions.h"
#include "portable/engine/IdleEngine.h"
#include "portable/keys/SendKeys.h"
#include "resources/ResourceIds.h"
#include "win32/commit/WindowActivation.h"
#include "win32/guard/TimerDialog.h"
#include "win32/lock/LockScreen.h"
#include "win32/watch/WatchedCounts.h"

class TimerDialog : public TickTest {};
