#include "plugin/FunctionTable.h"

const FunctionEntry FUNCTIONS[FUNCTION_COUNT] = {
    {FN_SET_WORKSTATION_PASSWORD, "Lulx-SetWorkstationPassword", "Lulx_SetWorkstationPassword", "password",
     "Lullex password lock|Sets the password that unlocks the lock screen. Answers 0.", 1, 1, SetWorkstationPassword},
    {FN_ACTIVATE_RECORD, "Lulx-ActivateRecordLullex", "Lulx_ActivateRecordLullex", "seconds",
     "Lullex record idle commit|Commits the record after this many idle seconds; 0 turns it off.", 1, 1,
     SetRecordLimit},
    {FN_ACTIVATE_FILEMAKER, "Lulx-ActivateFileMakerLullex", "Lulx_ActivateFileMakerLullex", "seconds",
     "Lullex FileMaker idle lock|Commits the record and locks the workstation after this many idle seconds; 0 "
     "turns it off.",
     1, 1, SetFileMakerLimit},
    {FN_CAN_BACKGROUND, "Lulx-FMLullexCanBackground", "Lulx_FMLullexCanBackground", "switch",
     "Lullex background count|1: the FileMaker idle limit counts on while another application is in front; 0: "
     "it waits.",
     1, 1, SetCountInBackground},
    {FN_RECORD_IMMEDIATELY, "Lulx-LullexRecordImmediatelyWhenInBackground",
     "Lulx_LullexRecordImmediatelyWhenInBackground", "switch",
     "Lullex commit on leaving|1: commits the record as soon as the user switches to another application.", 1, 1,
     SetCommitOnLeaving},
    {FN_VERSION, "Lulx-Version", "Lulx_Version", "{ parameter }", "Lullex version|Answers the plug-in's version.", 0, 1,
     AnswerVersion},
    {FN_LOCK_NOW, "Lulx-LockNow", "Lulx_LockNow", "{ parameter }",
     "Lullex lock now|Commits the record and locks the workstation at once. Answers 0.", 0, 1, LockNow},
    {FN_STATUS, "Lulx-Status", "Lulx_Status", "{ parameter }",
     "Lullex status|Answers the settings and the idle times as one line of name=value pairs.", 0, 1, AnswerStatus},
    {FN_SET_LOCK_WARNING, "Lulx-SetLockWarning", "Lulx_SetLockWarning", "seconds",
     "Lullex lock warning|Shows a notice this many seconds before the idle lock; 0 turns it off.", 1, 1,
     SetLockWarning},
};

const FunctionEntry* FindFunction(unsigned number) {
  for (const FunctionEntry& f : FUNCTIONS)
    if (f.number == number) return &f;
  return nullptr;
}
