// The external functions: their numbers (the host names function n with string
// 144 + n) and their handlers.
#pragma once

#include <cstdint>

#include "portable/text/HostHandle.h"
#include "resources/Version.h"

enum FunctionNumber : uint32_t {
  FN_SET_WORKSTATION_PASSWORD = 1,
  FN_ACTIVATE_RECORD = 2,
  FN_ACTIVATE_FILEMAKER = 3,
  FN_CAN_BACKGROUND = 4,
  FN_RECORD_IMMEDIATELY = 5,
  FN_VERSION = 6,
  FN_LOCK_NOW = 7,
  FN_STATUS = 8,
  FN_SET_LOCK_WARNING = 9,
};

const char VERSION_TEXT[] = LULLEX_VERSION_TEXT;

void DispatchExternal(uint32_t functionNumber, FMHandle parameter, FMHandle result);

void SetWorkstationPassword(FMHandle parameter, FMHandle result);
void SetRecordLimit(FMHandle parameter, FMHandle result);
void SetFileMakerLimit(FMHandle parameter, FMHandle result);
void SetCountInBackground(FMHandle parameter, FMHandle result);
void SetCommitOnLeaving(FMHandle parameter, FMHandle result);
void AnswerVersion(FMHandle result);
void LockNow(FMHandle parameter, FMHandle result);
void AnswerStatus(FMHandle parameter, FMHandle result);
void SetLockWarning(FMHandle parameter, FMHandle result);
