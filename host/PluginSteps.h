// The script's steps that play FileMaker's part with the plug-in: init,
// shutdown, load, call, callnum, failresize, command, functions,
// endfunctions and installedplugins (see Script.h).
#pragma once

#include "ScriptStep.h"

StepResult RunPluginStep(const std::string& command, const std::string& rest);
