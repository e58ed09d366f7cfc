// FileMaker asked of the record in its current window, from its idle call:
// Get ( RecordOpenState ) and Get ( WindowMode ), through an environment of
// the plug-in's own set to FileMaker's current one.
#pragma once

#include "portable/engine/CommitSteps.h"
#include "portable/modern/FMWrapperApi.h"

// Whether fm can ask at all.
bool CanAskRecordState(const FMWrapperFunctions& fm, FMCurrentEnvironment setCurrent);
// Unknown on any error.
RecordAnswer AskRecordState(const FMWrapperFunctions& fm, FMCurrentEnvironment setCurrent);
