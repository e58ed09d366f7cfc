#include "plugin/Functions.h"

void DispatchExternal(uint32_t functionNumber, FMHandle parameter, FMHandle result) {
  switch (functionNumber) {
    case FN_SET_WORKSTATION_PASSWORD:
      SetWorkstationPassword(parameter, result);
      break;
    case FN_ACTIVATE_RECORD:
      SetRecordLimit(parameter, result);
      break;
    case FN_ACTIVATE_FILEMAKER:
      SetFileMakerLimit(parameter, result);
      break;
    case FN_CAN_BACKGROUND:
      SetCountInBackground(parameter, result);
      break;
    case FN_RECORD_IMMEDIATELY:
      SetCommitOnLeaving(parameter, result);
      break;
    case FN_VERSION:
      AnswerVersion(result);
      break;
    case FN_LOCK_NOW:
      LockNow(parameter, result);
      break;
    case FN_STATUS:
      AnswerStatus(parameter, result);
      break;
    case FN_SET_LOCK_WARNING:
      SetLockWarning(parameter, result);
      break;
    default:
      break;
  }
}
