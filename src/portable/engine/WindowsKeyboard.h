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
  // Windows holds the keyboard and the lock with Windows is on: FileMaker
  // locks too, its record committed first (asked of the script, or typed the
  // moment the keyboard is back).
  LockFileMaker,
};
// What Windows answers when asked of this session (WTSSessionInfoEx, Windows 7
// and later); nothing known where it cannot tell.
struct SessionReport {
  bool lockKnown;
  bool locked;
  bool stateKnown;
  bool disconnected;
  bool active;  // connected and in use (WTSActive)
};
// The report from WTSINFOEX level 1: its SessionState and SessionFlags.
// Windows 7 and Server 2008 R2 (lockFlagReversed) give the lock flag the wrong
// way round.
SessionReport ReadSessionReport(uint32_t sessionState, uint32_t sessionFlags, bool lockFlagReversed);

// Takes a notification in, with what Windows answers when asked just after.
// A lock and a disconnect each hold the keyboard until their own counterpart:
// a session reconnected to its lock screen stays held. A lock or a disconnect
// that Windows, asked, contradicts is ignored: another program may post the
// notification. Every unlock and connect lets a lock that waits for the
// keyboard go up. With the lock with Windows on, each hold locks FileMaker
// once, unless its lock is up or on its way already; a notice of no change
// (Other) locks it for a hold that began while the switch was off.
SessionTurn TakeSessionChange(GuardState& state, SessionChange change, const SessionReport& asked = SessionReport());
// At the start and at each registration for the notifications, which may have
// missed some: Windows' answer replaces what they said, and where Windows
// cannot tell, the session counts as unlocked.
SessionTurn TakeSessionReport(GuardState& state, const SessionReport& asked);
// While a lock waits for the keyboard: Windows saying that the session is
// unlocked and active gives it back, whatever the notifications said.
SessionTurn TakeSessionCheck(GuardState& state, const SessionReport& asked);

enum class CommitWay {
  Type,             // Windows lets Lullex type
  AskScript,        // it does not, and the solution's script hears events
  WaitForKeyboard,  // it does not, and no script can be asked
};
CommitWay WayToCommit(const GuardState& state);

// What FileMaker answered a start of the event script (0: it took it). A
// commit asked of a start it refused is still due: it is typed as soon as
// Windows lets Lullex type, and a lock waiting for it waits for that.
void TakeScriptStartAnswer(GuardState& state, const ScriptEvent& event, int32_t answer);

// How long a lock waits for the script asked to commit before it opens all the same.
const uint32_t SCRIPT_TURN_MOST_MS = 3000;
// Whether a waiting lock may open now: no commit under way, and the keyboard
// back (the caller types the commit first), or the script's turn taken, waited
// for long enough, or out of reach behind a dialog of FileMaker's.
bool WaitingLockMayOpen(const GuardState& state, uint32_t now);
