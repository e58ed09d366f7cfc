// The interactive window's command panel: a field for a function and its
// parameter or a step, a Call button, the last reply and the latest events.
#pragma once

#include <windows.h>

#include <string>

// Adds the panel under the record area of main.
void AddCommandPanel(HWND main);
// The main window's WM_COMMAND from a control of the panel (Call).
void CommandPanelCommand(int id);
// The main window is gone, and the panel with it.
void ForgetCommandPanel();
// Writes line into the command field and presses Call, which hands the line to
// the handler.
void RunCommand(const std::string& line);
void SetCommandHandler(void (*handler)(const std::string& line));
