// The six external functions, their numbers and their handlers.
#pragma once

#include <cstdint>

#include "HostHandle.h"
#include "Settings.h"

enum FunctionNumber : uint32_t {
  FN_SET_WORKSTATION_PASSWORD = 1,
  FN_ACTIVATE_RECORD = 2,
  FN_ACTIVATE_FILEMAKER = 3,
  FN_CAN_BACKGROUND = 4,
  FN_RECORD_IMMEDIATELY = 5,
  FN_VERSION = 6,
};

const char VERSION_TEXT[] = "Lullex v1.91";

// Workstation password in Windows text; kept across init calls.
const int MASTER_PASS_SIZE = 255;
extern char MasterPass[MASTER_PASS_SIZE];

void DispatchExternal(uint32_t functionNumber, FMHandle parameter, FMHandle result);

void SetMasterPass(FMHandle parameter, FMHandle result);
void SetRecordTime(FMHandle parameter, FMHandle result);
void SetFMTime(FMHandle parameter, FMHandle result);
void BackSW(FMHandle parameter, FMHandle result);
void ImmediateSW(FMHandle parameter, FMHandle result);
void Version(FMHandle result);
