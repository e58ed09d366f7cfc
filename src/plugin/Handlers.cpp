// The six external functions: parameter text in, setting and timers, reply out.
// A parameter too long to read changes no setting and is answered "$$001$$".
#include <windows.h>

#include "../idle/Activity.h"
#include "../idle/IdleState.h"
#include "../idle/TimerDialog.h"
#include "../sendkeys/Decimal.h"
#include "Filter.h"
#include "Functions.h"
#include "HostCall.h"
#include "HostText.h"

char MasterPass[MASTER_PASS_SIZE];

int32_t ParseLimit(const char* text) {
  int32_t seconds = ParseDecimal(text);
  return seconds > MAX_LIMIT_SECONDS ? MAX_LIMIT_SECONDS : seconds;
}

namespace {

// Creates the timer dialog if needed; false when there is none to own timers
// (SetTimer on a null window would start a stray thread timer).
bool EnsureTimerDialog() {
  CreateTimerDialog(gFMExternCallPtr->instanceHandle);
  return HiddenDialog != nullptr;
}

// The switch value of a parameter's first byte: 0, 1, or -1 for no change.
int SwitchValue(unsigned char first) {
  if (first == '0') return 0;
  if (first == '1') return 1;
  return -1;
}

}  // namespace

void SetMasterPass(FMHandle parameter, FMHandle result) {
  HostCallbacks host = CurrentHostCallbacks();
  thetemp[0] = '\0';
  if (ReadParameterText(host, parameter, MasterPass)) {
    lstrcpyA(thetemp, MasterPass);
    Filter();
    lstrcpyA(MasterPass, thetemp);
    WriteReply(host, result, REPLY_TAKEN);
  }
  ReplyIfBadLength(host, parameter, result);
}

void SetRecordTime(FMHandle parameter, FMHandle result) {
  HostCallbacks host = CurrentHostCallbacks();
  char text[TEMP_TEXT_SIZE];
  if (ReadParameterText(host, parameter, text)) {
    thetick = ParseLimit(text);
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
  char text[TEMP_TEXT_SIZE];
  if (ReadParameterText(host, parameter, text)) {
    appnumberseconds = 0;
    theapptick = ParseLimit(text);
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
  char text[TEMP_TEXT_SIZE];
  if (ParameterLengthIsGood(host.handleSizeProc(parameter)) && ReadParameterText(host, parameter, text)) {
    int value = SwitchValue(static_cast<unsigned char>(text[0]));
    if (value >= 0) kcanbackground = value;
  }
  ReplyIfBadLength(host, parameter, result);
}

void ImmediateSW(FMHandle parameter, FMHandle result) {
  HostCallbacks host = CurrentHostCallbacks();
  if (ParameterLengthIsGood(host.handleSizeProc(parameter))) {
    int value = SwitchValue((*parameter)[0]);
    if (value >= 0) TMImmediateSW = value;
    if (EnsureTimerDialog()) SetTimer(HiddenDialog, RECORD_TIMER, IDLE_TICK_MS, nullptr);
    TakeSnapshot(recordSnapshot);
  }
  ReplyIfBadLength(host, parameter, result);
}

void Version(FMHandle result) { WriteReply(CurrentHostCallbacks(), result, VERSION_TEXT); }
