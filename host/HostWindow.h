// The stand-in's windows: a main window of class "FMPRO5APP" (or another),
// a chain of first children three deep with the record field inside, a popup
// menu, and a second application window to switch to.
#pragma once

#include <windows.h>

#include <string>

struct HostWindowOptions {
  std::string mainClass = "FMPRO5APP";
  std::string innerClass = "FMHostRecordArea";
  bool interactive = false;
  bool logKeys = true;  // a line for every key the record field receives
};

bool CreateHostWindows(const HostWindowOptions& options);
HWND MainWindow();
HWND RecordField();
HWND OtherWindow();  // created on first use
void OpenPopupMenu();  // returns at once; the menu runs from the main window
int CommitCount();
