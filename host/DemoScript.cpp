// The narrated scenario that `make demo` plays.
#include "Script.h"

const std::vector<std::string>& DemoScript() {
  static const std::vector<std::string> lines = {
      "say FileMaker Pro (played by the host stand-in) has loaded Lullex and initialised it.",
      "init",
      "call Lulx-Version",
      "say The solution sets a workstation password and both idle limits.",
      "call Lulx-SetWorkstationPassword secret",
      "call Lulx-FMLullexCanBackground 0",
      "call Lulx-LullexRecordImmediatelyWhenInBackground 0",
      "call Lulx-ActivateRecordLullex 3",
      "call Lulx-ActivateFileMakerLullex 6",
      "say A user edits a contact record...",
      "focus record",
      "move 300 150",
      "type Jane Smith",
      "wait 300",
      "shot host-window",
      "say ...and walks away. After 3 idle seconds Lullex commits the record (Ctrl+Enter).",
      "waitfor 15000 record committed #1",
      "say After 6 idle seconds it commits the record if still needed and locks the workstation.",
      "waitfor 15000 window \"Please Login\" appeared",
      "wait 300",
      "shot lock-screen",
      "say Someone tries a wrong password.",
      "type guess",
      "key ENTER",
      "waitfor 5000 window \"Incorrect password\" appeared",
      "wait 300",
      "shot incorrect-password",
      "key ENTER",
      "waitfor 5000 window \"Incorrect password\" gone",
      "say The user comes back and types the workstation password.",
      "type secret",
      "key ENTER",
      "waitfor 5000 main window shown",
      "waitfor 5000 window \"Please Login\" gone",
      "say Unlocked: the main window is back and idle counting starts again.",
      "quit",
  };
  return lines;
}
