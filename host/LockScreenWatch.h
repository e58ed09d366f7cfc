// The stand-in's eye on the plug-in's lock: on each of its watch ticks it
// writes an event line when the lock's windows, the notice's countdown, the
// login's prompt or its refusal come, change or go.
#pragma once

void WatchLockScreen();
