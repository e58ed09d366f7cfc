#include "Functions.h"

void DispatchExternal(uint32_t functionNumber, FMHandle parameter, FMHandle result) {
  switch (functionNumber) {
    case FN_SET_WORKSTATION_PASSWORD:
      SetMasterPass(parameter, result);
      break;
    case FN_ACTIVATE_RECORD:
      SetRecordTime(parameter, result);
      break;
    case FN_ACTIVATE_FILEMAKER:
      SetFMTime(parameter, result);
      break;
    case FN_CAN_BACKGROUND:
      BackSW(parameter, result);
      break;
    case FN_RECORD_IMMEDIATELY:
      ImmediateSW(parameter, result);
      break;
    case FN_VERSION:
      Version(result);
      break;
    default:
      break;
  }
}
