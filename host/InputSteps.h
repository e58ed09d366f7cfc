// The script's steps of what comes from outside the host: a person's mouse,
// keys and typing, a busy host, another program's mouse moves and Windows'
// session notices: move, type, key, busy, othermoves and session (see Script.h).
#pragma once

#include "ScriptStep.h"

StepResult RunInputStep(const std::string& command, const std::string& rest);
