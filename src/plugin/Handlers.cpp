// The six external functions: parameter text in, setting and timers, reply out.
// A parameter too long to read changes no setting and is answered "$$001$$".
#include <windows.h>

#include "../idle/Activity.h"
#include "../idle/IdleState.h"
#include "../idle/TimerDialog.h"
#include "Functions.h"
#include "HostCall.h"
#include "HostText.h"

char MasterPass[MASTER_PASS_SIZE];

namespace {

// Creates the timer dialog if needed; false when there is none to own timers
// (SetTimer on a null window would start a stray thread timer).
bool EnsureTimerDialog() {
  CreateTimerDialog(gFMExternCallPtr->instanceHandle);
  return HiddenDialog != nullptr;
}

}  // namespace

void SetMasterPass(FMHandle parameter, FMHandle result) {
  HostCallbacks host = CurrentHostCallbacks();
  if (ReadPassword(host, parameter, MasterPass)) WriteReply(host, result, REPLY_TAKEN);
  ReplyIfBadLength(host, parameter, result);
}

void SetRecordTime(FMHandle parameter, FMHandle result) {
  HostCallbacks host = CurrentHostCallbacks();
  if (ReadLimit(host, parameter, thetick)) {
    if (thetick < 1) return;  // off; the record timer keeps serving the immediate switch
    numberseconds = 0;
    if (EnsureTimerDialog()) {
      KillTimer(HiddenDialog, RECORD_TIMER);
      SetTimer(HiddenDialog, RECORD_TIMER, IDLE_TICK_MS, nullptr);
    }
    TakeSnapshot(recordSnapshot);
    WriteReply(host, result, REPLY_TAKEN);
  }
  ReplyIfBadLength(host, parameter, result);
}

void SetFMTime(FMHandle parameter, FMHandle result) {
  HostCallbacks host = CurrentHostCallbacks();
  int32_t seconds;
  if (ReadLimit(host, parameter, seconds)) {
    appnumberseconds = 0;
    theapptick = seconds;
    if (theapptick < 1) {
      if (HiddenDialog) {  // a null window would name the thread's own timers
        KillTimer(HiddenDialog, FILEMAKER_TIMER);
        KillTimer(HiddenDialog, KEYSCAN_TIMER);
      }
      return;
    }
    if (EnsureTimerDialog()) SetTimer(HiddenDialog, FILEMAKER_TIMER, IDLE_TICK_MS, nullptr);
    TakeSnapshot(appSnapshot);
    WriteReply(host, result, REPLY_TAKEN);
  }
  ReplyIfBadLength(host, parameter, result);
}

void BackSW(FMHandle parameter, FMHandle result) {
  HostCallbacks host = CurrentHostCallbacks();
  int value = ReadSwitch(host, parameter);
  if (value >= 0) kcanbackground = value;
  ReplyIfBadLength(host, parameter, result);
}

void ImmediateSW(FMHandle parameter, FMHandle result) {
  HostCallbacks host = CurrentHostCallbacks();
  int value = ReadSwitch(host, parameter);
  if (value != SWITCH_BAD_LENGTH) {
    if (value >= 0) TMImmediateSW = value;
    if (EnsureTimerDialog()) SetTimer(HiddenDialog, RECORD_TIMER, IDLE_TICK_MS, nullptr);
    TakeSnapshot(recordSnapshot);
  }
  ReplyIfBadLength(host, parameter, result);
}

void Version(FMHandle result) { WriteReply(CurrentHostCallbacks(), result, VERSION_TEXT); }
