// The stand-in's windows: a main window of class "FMPRO5APP" (or another),
// a chain of first children three deep with the record field inside, a popup
// menu, and a modal box of the host's own.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct HostWindowOptions {
  std::string mainClass;  // empty: as the FileMaker played names its application window
  std::string innerClass = "FMHostRecordArea";
  bool interactive = false;
  bool logKeys = true;  // a line for every key the record field receives
};

bool CreateHostWindows(const HostWindowOptions& options);
HWND MainWindow();
HWND RecordField();
void OpenPopupMenu();  // returns at once; the menu runs from the main window
// A modal OK/Cancel box of the host's own over the main window; returns at once.
void OpenHostBox();
void CloseHostBox();  // answers it with Cancel
void DestroyMainWindow();
// A window listing lines, as a calculation dialog lists the external functions.
void ShowFunctionList(const std::vector<std::string>& lines);
