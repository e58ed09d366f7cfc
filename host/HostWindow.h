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
int CommitCount();
// A modal OK/Cancel box of the host's own over the main window; returns at once.
void OpenHostBox();
void CloseHostBox();  // answers it with Cancel
void DestroyMainWindow();
// Today's FileMaker opens each document in a top-level window of the main
// window's class, and card windows as top-level windows as well. Each has a
// record field of its own; its lines name the window. Both come to the front.
HWND OpenDocumentWindow(const std::string& name);
HWND OpenCardWindow(const std::string& name);
// The main window is named "Contacts".
HWND RecordWindowNamed(const std::string& name);
HWND RecordFieldOf(HWND window);
// One line: the visible record windows, top first, the foreground one marked.
void LogVisibleWindows();
// Interactive mode: writes line into the command field and presses Call, which
// hands the line to the handler.
void RunCommand(const std::string& line);
void SetCommandHandler(void (*handler)(const std::string& line));
// A window listing lines, as a calculation dialog lists the external functions.
void ShowFunctionList(const std::vector<std::string>& lines);
