// A DLL's file version as FileMaker 12 and later list it for a plug-in: the
// fixed file version of its version resource.
#pragma once

#include <windows.h>

#include <string>

// "1.9.1.0"; "" when module has no version resource.
std::string FileVersionOf(HMODULE module);
