// Libraries of Windows itself, bound at run time, opened only from the system
// folder: a file of the same name beside the host program (which the search
// path reaches first) must never stand in for one.
#pragma once

#include <windows.h>

// The library `name` (such as L"bcrypt.dll") from the system folder, loaded if
// it is not yet; null where it is not there, or the system folder cannot be
// told (Windows 95, whose wide functions do nothing), which leaves the feature
// that needs it absent.
HMODULE LoadSystemLibrary(const wchar_t* name);
