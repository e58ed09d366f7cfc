// The external functions, one rule each for both host interfaces: parameter
// text in, settings and timers changed, reply text out.
#pragma once

#include <cstdint>

#include "portable/engine/ParameterRules.h"
#include "portable/engine/StatusText.h"
#include "resources/Version.h"
#include "win32/WorkstationGuard.h"

enum FunctionNumber : uint16_t {
  FN_SET_WORKSTATION_PASSWORD = 1,
  FN_ACTIVATE_RECORD = 2,
  FN_ACTIVATE_FILEMAKER = 3,
  FN_CAN_BACKGROUND = 4,
  FN_RECORD_IMMEDIATELY = 5,
  FN_VERSION = 6,
  FN_LOCK_NOW = 7,
  FN_STATUS = 8,
  FN_SET_LOCK_WARNING = 9,
  FN_SET_EVENT_SCRIPT = 10,     // FileMaker 7 and later only
  FN_PASSWORD_DIGEST = 11,      // FileMaker 7 and later only
  FN_SET_PASSWORD_DIGEST = 12,  // FileMaker 7 and later only
  FN_SET_UNLOCK_USER = 13,      // FileMaker 7 and later only
  FN_SET_LOCK_MESSAGE = 14,     // FileMaker 7 and later only
  FN_LOCK_WITH_WINDOWS = 15,    // FileMaker 7 and later only
};

const char VERSION_TEXT[] = LULLEX_VERSION_TEXT;

// What a function answers; every reply is ASCII.
struct Reply {
  bool given;  // false: the host's result stays as it was
  char text[STATUS_TEXT_SIZE];
};

typedef void (*FunctionRule)(WorkstationGuard& guard, const ParameterText& parameter, Reply& reply);
// A function of two parameters.
typedef void (*PairRule)(WorkstationGuard& guard, const ParameterText& first, const ParameterText& second,
                         Reply& reply);

void SetWorkstationPassword(WorkstationGuard& guard, const ParameterText& parameter, Reply& reply);
void SetRecordLimit(WorkstationGuard& guard, const ParameterText& parameter, Reply& reply);
void SetFileMakerLimit(WorkstationGuard& guard, const ParameterText& parameter, Reply& reply);
void SetCountInBackground(WorkstationGuard& guard, const ParameterText& parameter, Reply& reply);
void SetCommitOnLeaving(WorkstationGuard& guard, const ParameterText& parameter, Reply& reply);
void SetLockWithWindows(WorkstationGuard& guard, const ParameterText& parameter, Reply& reply);
void AnswerVersion(WorkstationGuard& guard, const ParameterText& parameter, Reply& reply);
void LockNow(WorkstationGuard& guard, const ParameterText& parameter, Reply& reply);
void AnswerStatus(WorkstationGuard& guard, const ParameterText& parameter, Reply& reply);
void SetLockWarning(WorkstationGuard& guard, const ParameterText& parameter, Reply& reply);
void AnswerPasswordDigest(WorkstationGuard& guard, const ParameterText& parameter, Reply& reply);
void SetWorkstationPasswordDigest(WorkstationGuard& guard, const ParameterText& parameter, Reply& reply);
void SetLockMessage(WorkstationGuard& guard, const ParameterText& parameter, Reply& reply);
void SetEventScriptNames(WorkstationGuard& guard, const ParameterText& fileName, const ParameterText& scriptName,
                         Reply& reply);
void SetUnlockUserDigest(WorkstationGuard& guard, const ParameterText& name, const ParameterText& digest, Reply& reply);
