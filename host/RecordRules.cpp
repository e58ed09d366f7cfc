#include "RecordRules.h"

#include "RecordWindows.h"
#include "Timeline.h"

namespace {

const char QUESTION_TITLE[] = "FileMaker Pro";
const char QUESTION[] = "This field does not take this value. Allow this value?";

enum class Validation { Off, DefaultYes, DefaultRevert };
Validation g_validation;
bool g_findMode;
int g_finds;

}  // namespace

bool CommitGoesThrough(HWND field, const std::string& name, bool& edited) {
  char text[256];
  GetWindowTextA(field, text, sizeof text);
  if (g_findMode) {
    Event("find performed #%d: \"%s\" in \"%s\"", ++g_finds, text, name.c_str());
    return false;
  }
  if (!edited || g_validation == Validation::Off) return true;
  Event("question asked in \"%s\"", name.c_str());
  UINT button = g_validation == Validation::DefaultYes ? MB_DEFBUTTON1 : MB_DEFBUTTON3;
  // IDCANCEL stands for Revert Record.
  int answer = MessageBoxA(GetAncestor(field, GA_ROOT), QUESTION, QUESTION_TITLE, MB_YESNOCANCEL | button);
  if (answer == IDYES) {
    Event("question answered Yes: \"%s\" kept", text);
    return true;
  }
  if (answer == IDCANCEL) {
    SetWindowTextA(field, "");
    edited = false;
    Event("question answered Revert Record: \"%s\" lost", text);
  } else {
    Event("question answered No: back to the field");
  }
  return false;
}

int WindowMode() { return g_findMode ? 1 : 0; }

StepResult RunRecordStep(const std::string& command, const std::string& rest) {
  if (command == "validate") {
    g_validation = rest == "yes"      ? Validation::DefaultYes
                   : rest == "revert" ? Validation::DefaultRevert
                                      : Validation::Off;
  } else if (command == "mode") {
    g_findMode = rest == "find";
    ForgetEdits();
    Event("%s mode", g_findMode ? "Find" : "Browse");
  } else if (command == "endquestion") {
    HWND box = FindWindowA(nullptr, QUESTION_TITLE);
    if (box) PostMessageA(box, WM_COMMAND, IDNO, 0);
  } else {
    return StepResult::NotThisKind;
  }
  return StepResult::Done;
}
