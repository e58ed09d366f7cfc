// The timer dialog is also a status panel that is never shown: its buttons and
// fields still set the limits and switches when a command is sent to it.
#pragma once

#include <windows.h>

#include "win32/WorkstationGuard.h"

// Enables or disables a control of the panel, touching it only on a change.
void EnablePanelControl(HWND dialog, int id, bool enable);
// A command of the panel (WM_COMMAND sent to the dialog), by control id.
void PanelCommand(WorkstationGuard& guard, HWND dialog, int id);
