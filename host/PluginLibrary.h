// The plug-in's library as either host holds it: loaded, its one entry point
// found, freed after the shutdown call.
#pragma once

#include <windows.h>

#include <string>

// Loads the library at path and finds FMExternCallProc; a failure is an event.
bool OpenPluginLibrary(const std::string& path, HMODULE& module, FARPROC& entry);
void ClosePluginLibrary(HMODULE& module);
