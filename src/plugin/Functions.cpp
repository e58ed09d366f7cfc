// The external functions. A parameter too long to read changes no setting and
// is answered "$$001$$"; so is an empty one where a value is needed.
#include "plugin/Functions.h"

#include <cstring>

#include "win32/guard/TimerDialog.h"
#include "win32/system/ComposedText.h"
#include "win32/system/SystemCrypto.h"
#include "win32/system/UserNameCase.h"
#include "win32/watch/SessionNotifications.h"
#include "win32/watch/TickObservation.h"
#include "win32/watch/WatchedCounts.h"

namespace {

void Answer(Reply& reply, const char* text) {
  reply.given = true;
  std::strncpy(reply.text, text, sizeof reply.text - 1);
  reply.text[sizeof reply.text - 1] = '\0';
}

bool EnsureTimerDialog(WorkstationGuard& guard) { return EnsureTimerDialog(guard, guard.instance); }

void AnswerIfBadLength(const ParameterText& parameter, Reply& reply) {
  if (!ParameterLengthIsGood(parameter)) Answer(reply, REPLY_BAD_LENGTH);
}

}  // namespace

void SetWorkstationPassword(WorkstationGuard& guard, const ParameterText& parameter, Reply& reply) {
  if (parameter.readable) {
    // An empty password is set too, and answered "$$001$$" below.
    Settings& s = guard.state.settings;
    std::strncpy(s.password, parameter.text, PASSWORD_SIZE - 1);
    s.password[PASSWORD_SIZE - 1] = '\0';
    s.passwordKind = PasswordKind::Plain;
    s.digest = PasswordDigest();
    Answer(reply, REPLY_TAKEN);
  }
  AnswerIfBadLength(parameter, reply);
}

void AnswerPasswordDigest(WorkstationGuard&, const ParameterText& parameter, Reply& reply) {
  if (!ParameterLengthIsGood(parameter)) return Answer(reply, REPLY_BAD_LENGTH);
  PasswordDigest digest;
  if (!MakeDigest(parameter.text, digest)) return Answer(reply, REPLY_NO_CRYPTOGRAPHY);
  char text[DIGEST_TEXT_SIZE];
  FormatDigest(digest, text);
  Answer(reply, text);
}

void SetWorkstationPasswordDigest(WorkstationGuard& guard, const ParameterText& parameter, Reply& reply) {
  PasswordDigest digest;
  if (!ParameterLengthIsGood(parameter) || !ParseDigest(parameter.text, digest)) return Answer(reply, REPLY_BAD_LENGTH);
  // A digest the lock cannot check would leave a station that no password opens.
  if (!CanDerive()) return Answer(reply, REPLY_NO_CRYPTOGRAPHY);
  Settings& s = guard.state.settings;
  SecureZeroMemory(s.password, sizeof s.password);
  s.digest = digest;
  s.passwordKind = PasswordKind::Digest;
  Answer(reply, REPLY_TAKEN);
}

void SetRecordLimit(WorkstationGuard& guard, const ParameterText& parameter, Reply& reply) {
  if (!parameter.readable) return Answer(reply, REPLY_BAD_LENGTH);
  GuardState& state = guard.state;
  state.settings.recordLimitSeconds = ParseLimit(parameter.text);
  if (state.settings.recordLimitSeconds < 1) return;  // off; the timer keeps serving the immediate switch
  if (EnsureTimerDialog(guard)) {
    StopTimer(guard.timerDialog, RECORD_TIMER);
    StartTimer(guard.timerDialog, RECORD_TIMER, STEADY_LOOK_MS);
  }
  StartLimitCount(guard, WatchedCount::Record);
  Answer(reply, REPLY_TAKEN);
}

void SetFileMakerLimit(WorkstationGuard& guard, const ParameterText& parameter, Reply& reply) {
  if (!parameter.readable) return Answer(reply, REPLY_BAD_LENGTH);
  GuardState& state = guard.state;
  int32_t seconds = ParseLimit(parameter.text);
  state.fileMakerIdle.ticks = 0;
  state.settings.fileMakerLimitSeconds = seconds;
  if (seconds < 1) {
    PlanCountTick(guard, WatchedCount::FileMaker);  // none is due: the timer stops
    StopTimer(guard.timerDialog, KEYSCAN_TIMER);
    return;
  }
  if (EnsureTimerDialog(guard)) StartTimer(guard.timerDialog, FILEMAKER_TIMER, STEADY_LOOK_MS);
  StartLimitCount(guard, WatchedCount::FileMaker);
  Answer(reply, REPLY_TAKEN);
}

void SetCountInBackground(WorkstationGuard& guard, const ParameterText& parameter, Reply& reply) {
  int value = ReadSwitch(parameter);
  if (value >= 0) guard.state.settings.countInBackground = value == 1;
  // A count held behind another program until now runs from now.
  if (value == 1 && guard.state.fileMakerCountHeld) {
    guard.state.fileMakerCountHeld = false;
    StartCountNow(guard, WatchedCount::FileMaker);
  }
  AnswerIfBadLength(parameter, reply);
}

void SetCommitOnLeaving(WorkstationGuard& guard, const ParameterText& parameter, Reply& reply) {
  int value = ReadSwitch(parameter);
  if (value == SWITCH_BAD_LENGTH) return Answer(reply, REPLY_BAD_LENGTH);
  if (value >= 0) guard.state.settings.commitOnLeaving = value == 1;
  // The record timer runs the switch, with or without a record limit.
  if (EnsureTimerDialog(guard)) StartTimer(guard.timerDialog, RECORD_TIMER, STEADY_LOOK_MS);
  TakeSnapshotNow(guard.state.recordIdle);
}

void SetLockWithWindows(WorkstationGuard& guard, const ParameterText& parameter, Reply& reply) {
  int value = ReadSwitch(parameter);
  if (value >= 0) guard.state.settings.lockWithWindows = value == 1;
  // Windows may hold the keyboard already: FileMaker locks on the dialog's
  // turn, after this call, never inside the host's calculation.
  if (value == 1 && EnsureTimerDialog(guard)) PostMessageA(guard.timerDialog, WM_SESSION_CHANGE, SESSION_UNCHANGED, 0);
  AnswerIfBadLength(parameter, reply);
}

void AnswerVersion(WorkstationGuard&, const ParameterText&, Reply& reply) { Answer(reply, VERSION_TEXT); }

void LockNow(WorkstationGuard& guard, const ParameterText& parameter, Reply& reply) {
  if (!parameter.readable) return Answer(reply, REPLY_BAD_LENGTH);
  // The lock opens on the timer dialog's next turn, after this call has returned.
  if (!guard.state.lockIsUp && EnsureTimerDialog(guard)) RequestLockNow(guard);
  Answer(reply, REPLY_TAKEN);
}

void AnswerStatus(WorkstationGuard& guard, const ParameterText& parameter, Reply& reply) {
  if (!parameter.readable) return Answer(reply, REPLY_BAD_LENGTH);
  // The idle seconds as of this call, not of the counts' last looks.
  Observed o;
  Observe(guard, o, WatchedCount::FileMaker);
  IdleFigures idle = IdleFiguresAt(guard.state, o.seen);
  // Only the modern interface can start the solution's scripts.
  FormatStatus(guard.state, idle, reply.text, sizeof reply.text, guard.hostInterface == HostInterface::Modern);
  reply.given = true;
}

void SetLockWarning(WorkstationGuard& guard, const ParameterText& parameter, Reply& reply) {
  if (!parameter.readable) return Answer(reply, REPLY_BAD_LENGTH);
  int32_t seconds = ParseLimit(parameter.text);
  guard.state.settings.lockWarningSeconds = seconds < 1 ? 0 : seconds;
  if (seconds < 1) return;  // off, as a limit is
  Answer(reply, REPLY_TAKEN);
}

void SetLockMessage(WorkstationGuard& guard, const ParameterText& parameter, Reply& reply) {
  if (!parameter.readable) return Answer(reply, REPLY_BAD_LENGTH);
  char* message = guard.state.settings.lockMessage;  // empty: no line
  std::strncpy(message, parameter.text, LOCK_MESSAGE_SIZE - 1);
  message[LOCK_MESSAGE_SIZE - 1] = '\0';
  Answer(reply, REPLY_TAKEN);
}

void SetEventScriptNames(WorkstationGuard& guard, const ParameterText& fileName, const ParameterText& scriptName,
                         Reply& reply) {
  if (!fileName.readable || !scriptName.readable) return Answer(reply, REPLY_BAD_LENGTH);
  SetEventScript(guard.state.eventScript, fileName.text, scriptName.text);  // an empty script name: off
  Answer(reply, REPLY_TAKEN);
}

void SetUnlockUserDigest(WorkstationGuard& guard, const ParameterText& name, const ParameterText& digestText,
                         Reply& reply) {
  if (!name.readable || !digestText.readable) return Answer(reply, REPLY_BAD_LENGTH);
  bool removing = digestText.text[0] == '\0';
  PasswordDigest digest;
  if (!removing && !ParseDigest(digestText.text, digest)) return Answer(reply, REPLY_BAD_LENGTH);
  // A person whose digest the lock cannot check could never unlock.
  if (!removing && !CanDerive()) return Answer(reply, REPLY_NO_CRYPTOGRAPHY);
  // One spelling of each name, however its accents were typed.
  char composed[PARAMETER_TEXT_SIZE];
  ComposeText(name.text, composed, sizeof composed);
  UserChange change =
      SetUnlockUser(guard.state.settings.unlockUsers, composed, removing ? nullptr : &digest, SameUserName);
  Answer(reply, change == UserChange::Refused || change == UserChange::Full ? REPLY_BAD_LENGTH : REPLY_TAKEN);
}
