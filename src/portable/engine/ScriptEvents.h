// The solution's event script: which script of which file hears Lullex's
// events, and the events waiting for FileMaker to take them. Today's FileMaker
// only queues a script started by a plug-in, and the plug-in hands events over
// only from FileMaker's idle call: until then they wait here, in order, in a
// small fixed queue.
#pragma once

#include <cstddef>
#include <cstdint>

#include "portable/engine/UnlockUsers.h"

enum class ScriptEventKind : uint8_t {
  CommitAtRecordLimit,  // the record idle limit's commit
  CommitOnLeaving,      // the commit when the user switched to another application
  CommitWindowsLocked,  // Windows locked while the record may be open
  CommitBeforeLock,     // the lock's commit, which could not be typed: its reason is the lock's cause
  Unlock,               // the right password ended a lock
};

// Why a lock came: the FileMaker idle limit, Lulx_LockNow, or Windows' own lock
// with the lock with Windows on.
enum class LockCause : uint8_t { IdleLimit, LockNow, WindowsLocked };

// Whether a typed commit closed the record, where FileMaker could tell.
enum class CommitTook : uint8_t { Unknown, Yes, No };

struct ScriptEvent {
  ScriptEventKind kind;
  LockCause cause;          // unlock only
  uint32_t seconds;         // unlock only: how long the lock was up, whole seconds
  uint32_t wrongPasswords;  // unlock only: typed during the lock
  // Unlock only, where people are set: who opened it ("" for the workstation
  // password); otherwise the event names nobody.
  bool namesUser;
  char user[USER_NAME_SIZE];
  // Commits only: true when Lullex typed the commit's keys, false when the
  // script is asked to commit (Commit Records/Requests) because they could
  // not be typed.
  bool typed;
  CommitTook took;  // typed commits only
};

// A commit event of that kind; cause only for the lock's commit.
ScriptEvent CommitEvent(ScriptEventKind kind, bool typed, LockCause cause = LockCause::IdleLimit);

// More events than this between two idle calls: the oldest go.
const int SCRIPT_EVENT_QUEUE_SIZE = 8;
// A file or script name of up to 254 characters, in UTF-8, with its terminator.
const size_t SCRIPT_NAME_SIZE = 4 * 254 + 1;
// The longest event text, with its terminator: the unlock's with a name of 64
// characters of four bytes each.
const size_t SCRIPT_EVENT_TEXT_SIZE = 96 + 16 + 4 * MOST_USER_NAME_CHARACTERS;

struct EventScript {
  char fileName[SCRIPT_NAME_SIZE];
  char scriptName[SCRIPT_NAME_SIZE];  // empty: no script hears the events
  ScriptEvent waiting[SCRIPT_EVENT_QUEUE_SIZE];
  int first;  // the oldest waiting event
  int count;
  int32_t lastStartError;  // what FileMaker answered the last start; 0 when it took it
  // A commit asked of the script (typed false) that has not had its turn yet:
  // handed over to FileMaker, then an idle call with no script running.
  bool askedCommitWaiting;
  bool askedCommitHandedOver;
};

// Sets the script (an empty script name switches the events off) and drops
// what waits for the script before.
void SetEventScript(EventScript& script, const char* fileName, const char* scriptName);
// Queues an event, only while a script is set.
void QueueScriptEvent(EventScript& script, const ScriptEvent& event);
// Whether a script is set to hear the events.
bool ScriptHearsEvents(const EventScript& script);
// FileMaker's idle call after the events were handed over: with no script
// running or paused, an asked commit has had its turn.
void NoteIdleAfterHandOver(EventScript& script, bool scriptRunning);
// The oldest waiting event, taken off the queue; false when none waits.
bool TakeScriptEvent(EventScript& script, ScriptEvent& event);
// The event as the script's parameter: one JSON object, without spaces.
void FormatScriptEvent(const ScriptEvent& event, char* text, size_t size);
