// The script's steps at the lock's login and around it: choose, namelist,
// posttimer, lockwindows and memscan (see Script.h).
#pragma once

#include "ScriptStep.h"

StepResult RunLoginStep(const std::string& command, const std::string& rest);
