// Binds the FMWrapper.dll functions the plug-in calls, by name, in the copy
// that FileMaker has already loaded: a FileMaker that lacks one must still be
// able to load the plug-in, which then declines to be enabled.
#pragma once

#include "portable/modern/FMWrapperApi.h"

// False when FMWrapper.dll is not loaded or lacks a function that is needed:
// the registration with a description from API 56 on, the one without below.
bool BindFMWrapper(FMWrapperFunctions& fm, bool registerWithDescription);
