// A reference of a thread's own to the module that holds the plug-in's code,
// so that the host's FreeLibrary cannot unmap the code the thread runs.
#pragma once

#include <windows.h>

// The module with a reference counted up, to be given back by the thread with
// FreeLibraryAndExitThread; null where Windows cannot give one (before Windows
// XP): the caller then runs no thread.
HMODULE ReferenceToThisModule();
