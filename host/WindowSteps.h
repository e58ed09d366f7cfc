// The script's steps on the host's windows: focus, window, card,
// shownoactivate, closewindow, windows, activate, minimize, menu, endmenu,
// hostbox, endhostbox and destroymain (see Script.h).
#pragma once

#include "ScriptStep.h"

StepResult RunWindowStep(const std::string& command, const std::string& rest);
