// The external functions: parameter text in, setting and timers, reply out.
// A parameter too long to read changes no setting and is answered "$$001$$".
#include "plugin/Functions.h"
#include "plugin/HostCall.h"
#include "plugin/PluginState.h"
#include "portable/text/HostText.h"
#include "portable/text/ParameterRules.h"
#include "portable/text/StatusText.h"
#include "win32/TimerDialog.h"

namespace {

bool EnsureTimerDialog() { return EnsureTimerDialog(Guard(), CurrentCall()->instanceHandle); }

// Functions that take any parameter refuse only one too long to read.
bool RefuseUnreadable(const HostCallbacks& host, FMHandle parameter, FMHandle result) {
  if (ParameterCanBeRead(host.handleSizeProc(parameter))) return false;
  WriteReply(host, result, REPLY_BAD_LENGTH);
  return true;
}

}  // namespace

void SetWorkstationPassword(FMHandle parameter, FMHandle result) {
  HostCallbacks host = CurrentHostCallbacks();
  if (ReadPassword(host, parameter, Guard().state.settings.password)) WriteReply(host, result, REPLY_TAKEN);
  ReplyIfBadLength(host, parameter, result);
}

void SetRecordLimit(FMHandle parameter, FMHandle result) {
  HostCallbacks host = CurrentHostCallbacks();
  GuardState& state = Guard().state;
  if (ReadLimit(host, parameter, state.settings.recordLimitSeconds)) {
    if (state.settings.recordLimitSeconds < 1) return;  // off; the timer keeps serving the immediate switch
    state.recordIdle.ticks = 0;
    if (EnsureTimerDialog()) {
      StopTimer(Guard().timerDialog, RECORD_TIMER);
      StartTimer(Guard().timerDialog, RECORD_TIMER, IDLE_TICK_MS);
    }
    TakeSnapshotNow(state.recordIdle);
    WriteReply(host, result, REPLY_TAKEN);
  }
  ReplyIfBadLength(host, parameter, result);
}

void SetFileMakerLimit(FMHandle parameter, FMHandle result) {
  HostCallbacks host = CurrentHostCallbacks();
  GuardState& state = Guard().state;
  int32_t seconds;
  if (ReadLimit(host, parameter, seconds)) {
    state.fileMakerIdle.ticks = 0;
    state.settings.fileMakerLimitSeconds = seconds;
    if (seconds < 1) {
      StopTimer(Guard().timerDialog, FILEMAKER_TIMER);
      StopTimer(Guard().timerDialog, KEYSCAN_TIMER);
      return;
    }
    if (EnsureTimerDialog()) StartTimer(Guard().timerDialog, FILEMAKER_TIMER, IDLE_TICK_MS);
    TakeSnapshotNow(state.fileMakerIdle);
    WriteReply(host, result, REPLY_TAKEN);
  }
  ReplyIfBadLength(host, parameter, result);
}

void SetCountInBackground(FMHandle parameter, FMHandle result) {
  HostCallbacks host = CurrentHostCallbacks();
  int value = ReadSwitch(host, parameter);
  if (value >= 0) Guard().state.settings.countInBackground = value == 1;
  ReplyIfBadLength(host, parameter, result);
}

void SetCommitOnLeaving(FMHandle parameter, FMHandle result) {
  HostCallbacks host = CurrentHostCallbacks();
  int value = ReadSwitch(host, parameter);
  if (value != SWITCH_BAD_LENGTH) {
    if (value >= 0) Guard().state.settings.commitOnLeaving = value == 1;
    // The record timer runs the switch, with or without a record limit.
    if (EnsureTimerDialog()) StartTimer(Guard().timerDialog, RECORD_TIMER, IDLE_TICK_MS);
    TakeSnapshotNow(Guard().state.recordIdle);
  }
  ReplyIfBadLength(host, parameter, result);
}

void AnswerVersion(FMHandle result) { WriteReply(CurrentHostCallbacks(), result, VERSION_TEXT); }

void LockNow(FMHandle parameter, FMHandle result) {
  HostCallbacks host = CurrentHostCallbacks();
  if (RefuseUnreadable(host, parameter, result)) return;
  // The lock opens on the timer dialog's next turn, after this call has returned.
  if (!Guard().state.lockUp && EnsureTimerDialog()) RequestLockNow(Guard());
  WriteReply(host, result, REPLY_TAKEN);
}

void AnswerStatus(FMHandle parameter, FMHandle result) {
  HostCallbacks host = CurrentHostCallbacks();
  if (RefuseUnreadable(host, parameter, result)) return;
  char status[STATUS_TEXT_SIZE];
  FormatStatus(Guard().state, status, sizeof status);
  WriteReply(host, result, status);
}

void SetLockWarning(FMHandle parameter, FMHandle result) {
  HostCallbacks host = CurrentHostCallbacks();
  int32_t seconds;
  if (ReadLimit(host, parameter, seconds)) {
    Guard().state.settings.lockWarningSeconds = seconds < 1 ? 0 : seconds;
    if (seconds < 1) return;  // off, as a limit is
    WriteReply(host, result, REPLY_TAKEN);
  }
  ReplyIfBadLength(host, parameter, result);
}
