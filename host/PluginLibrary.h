// The plug-in's library as either host holds it: loaded, its one entry point
// found, freed after the shutdown call.
#pragma once

#include <windows.h>

#include <string>

// Loads the library at path and finds FMExternCallProc; a failure is an event.
bool OpenPluginLibrary(const std::string& path, HMODULE& module, FARPROC& entry);
// After FreeLibrary a thread of the plug-in may still hold its module mapped.
void ClosePluginLibrary(HMODULE& module);
// Prints once when the module freed last is no longer mapped; the host's
// watch calls it.
void WatchFreedPlugin();
