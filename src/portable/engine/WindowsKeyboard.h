// Whether Windows lets Lullex type, and how a commit that is due reaches
// FileMaker meanwhile. While Windows' lock screen is up or the session is
// disconnected, Windows owns the keyboard: keys typed then reach no program.
#pragma once

#include <cstdint>

#include "portable/engine/GuardState.h"

bool WindowsHoldsKeyboard(const WindowsSession& session);

// The session notifications that matter (WM_WTSSESSION_CHANGE's codes).
enum class SessionChange { Lock, Unlock, Disconnect, Connect, Other };
SessionChange SessionChangeOf(uint32_t code);

enum class SessionTurn {
  Nothing,
  // Windows just took the keyboard with the record maybe open: ask the
  // solution's script to commit it now, "windowslocked".
  AskScriptToCommit,
  // Windows gave the keyboard back: a waiting commit is typed before anything else.
  KeyboardBack,
};
// Takes a notification in. A lock and a disconnect each hold the keyboard
// until their own counterpart: a session reconnected to its lock screen stays
// held.
SessionTurn TakeSessionChange(GuardState& state, SessionChange change);

enum class CommitWay {
  Type,             // Windows lets Lullex type
  AskScript,        // it does not, and the solution's script hears events
  WaitForKeyboard,  // it does not, and no script can be asked
};
CommitWay WayToCommit(const GuardState& state);

// How long a lock waits for the script asked to commit before it opens all the same.
const uint32_t SCRIPT_TURN_MOST_MS = 3000;
// Whether a waiting lock may open now: the keyboard back (the caller types the
// commit first), or the script's turn taken or waited for long enough.
bool WaitingLockMayOpen(const GuardState& state, uint32_t now);
