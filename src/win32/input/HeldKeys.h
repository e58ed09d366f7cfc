// The hold of the person's keys: while the plug-in holds the foreground taken
// from another program, the keys the message hook sees are kept from the host
// and later typed into the other program's window.
#pragma once

#include <windows.h>

// While the plug-in holds the foreground taken from another program, the
// person's keys that reach the thread are held back, never the host's, until
// GiveBackHeldKeys types them, in order, into another program's window once
// one is in front. Until then it keeps them (false), unless `anyway`, which
// drops them rather than hand them to the host. A key typed before the hold
// began is the host's, unless `typedBeforeToo`: the host was not in front,
// and a key typed within the same tick of the clock came after all the same.
void HoldPersonsKeys(bool typedBeforeToo);
bool PersonsKeysHeld();
bool GiveBackHeldKeys(bool anyway);

// For the message hook, with a key message of the person's the thread takes
// in: one typed since the hold began is held back (true), and the host must
// not get it. One typed before it (waiting while the host was busy), or within
// the same tick of the clock, is the host's, and so is every key once a hold
// has outlived its most.
bool HoldKeyTypedDuringHold(const MSG& message);
// The hooks are gone: no key is held back any more.
void StopHoldingKeys();
