#include "plugin/FunctionTable.h"

const FunctionEntry FUNCTIONS[FUNCTION_COUNT] = {
    {FN_SET_WORKSTATION_PASSWORD, false, "Lulx-SetWorkstationPassword", "Lulx_SetWorkstationPassword", "password",
     "Lullex password lock|Sets the password that unlocks the lock screen. Answers 0.", 1, 1, SetWorkstationPassword,
     nullptr},
    {FN_ACTIVATE_RECORD, false, "Lulx-ActivateRecordLullex", "Lulx_ActivateRecordLullex", "seconds",
     "Lullex record idle commit|Commits the record after this many idle seconds; 0 turns it off.", 1, 1, SetRecordLimit,
     nullptr},
    {FN_ACTIVATE_FILEMAKER, false, "Lulx-ActivateFileMakerLullex", "Lulx_ActivateFileMakerLullex", "seconds",
     "Lullex FileMaker idle lock|Commits the record and locks the workstation after this many idle seconds; 0 "
     "turns it off.",
     1, 1, SetFileMakerLimit, nullptr},
    {FN_CAN_BACKGROUND, false, "Lulx-FMLullexCanBackground", "Lulx_FMLullexCanBackground", "switch",
     "Lullex background count|1: the FileMaker idle limit counts on while another application is in front; 0: "
     "it waits.",
     1, 1, SetCountInBackground, nullptr},
    {FN_RECORD_IMMEDIATELY, false, "Lulx-LullexRecordImmediatelyWhenInBackground",
     "Lulx_LullexRecordImmediatelyWhenInBackground", "switch",
     "Lullex commit on leaving|1: commits the record as soon as the user switches to another application.", 1, 1,
     SetCommitOnLeaving, nullptr},
    {FN_VERSION, false, "Lulx-Version", "Lulx_Version", "{ parameter }",
     "Lullex version|Answers the plug-in's version.", 0, 1, AnswerVersion, nullptr},
    {FN_LOCK_NOW, false, "Lulx-LockNow", "Lulx_LockNow", "{ parameter }",
     "Lullex lock now|Commits the record and locks the workstation at once. Answers 0.", 0, 1, LockNow, nullptr},
    {FN_STATUS, false, "Lulx-Status", "Lulx_Status", "{ parameter }",
     "Lullex status|Answers the settings and the idle times as one line of name=value pairs.", 0, 1, AnswerStatus,
     nullptr},
    {FN_SET_LOCK_WARNING, false, "Lulx-SetLockWarning", "Lulx_SetLockWarning", "seconds",
     "Lullex lock warning|Shows a notice this many seconds before the idle lock; 0 turns it off.", 1, 1, SetLockWarning,
     nullptr},
    {FN_SET_EVENT_SCRIPT, true, "", "Lulx_SetEventScript", "fileName ; scriptName",
     "Lullex event script|Runs this script of this file after each idle commit and each unlock, with the event as "
     "JSON; an empty script name turns it off. Answers 0.",
     2, 2, nullptr, SetEventScriptNames},
    {FN_PASSWORD_DIGEST, true, "", "Lulx_PasswordDigest", "password",
     "Lullex password digest|Answers a salted, slow digest of the password for "
     "Lulx_SetWorkstationPasswordDigest, so that the password need not be in the solution.",
     1, 1, AnswerPasswordDigest, nullptr},
    {FN_SET_PASSWORD_DIGEST, true, "", "Lulx_SetWorkstationPasswordDigest", "digest",
     "Lullex password digest lock|Sets the lock screen's password by its digest from Lulx_PasswordDigest. Answers 0.",
     1, 1, SetWorkstationPasswordDigest, nullptr},
    {FN_SET_UNLOCK_USER, true, "", "Lulx_SetUnlockUser", "name ; digest",
     "Lullex unlock user|Lets this person unlock with their own password, by its digest from "
     "Lulx_PasswordDigest; an empty digest removes them. Answers 0.",
     2, 2, nullptr, SetUnlockUserDigest},
    {FN_SET_LOCK_MESSAGE, true, "", "Lulx_SetLockMessage", "text",
     "Lullex lock message|Shows this line of the solution's own on the login, under the prompt, for example whom to "
     "call; empty removes it. Answers 0.",
     1, 1, SetLockMessage, nullptr},
    {FN_LOCK_WITH_WINDOWS, true, "", "Lulx_SetLockWithWindows", "switch",
     "Lullex lock with Windows|1: locks FileMaker as soon as Windows locks or the session is disconnected; 0: "
     "Windows' lock alone.",
     1, 1, SetLockWithWindows, nullptr},
};

bool OfferedTo(HostInterface host, const FunctionEntry& function) {
  return host == HostInterface::Modern || !function.modernOnly;
}

const FunctionEntry* FindFunction(HostInterface host, unsigned number) {
  for (const FunctionEntry& f : FUNCTIONS)
    if (f.number == number && OfferedTo(host, f)) return &f;
  return nullptr;
}
