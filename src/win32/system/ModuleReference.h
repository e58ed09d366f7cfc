// The module that holds the plug-in's code: a reference of a thread's own to
// it, so that the host's FreeLibrary cannot unmap the code the thread runs;
// and the module a window of the plug-in's came from.
#pragma once

#include <windows.h>

// The module with a reference counted up, to be given back by the thread with
// FreeLibraryAndExitThread; null where Windows cannot give one (before Windows
// XP): the caller then runs no thread.
HMODULE ReferenceToThisModule();

// The module whose template or class made window: where its dialogs and strings are.
HINSTANCE ModuleOfWindow(HWND window);
