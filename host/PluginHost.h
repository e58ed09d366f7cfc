// Plays FileMaker Pro's part towards the plug-in: loads it, reads its names
// (from its string resources, or as it registers them), and calls its functions.
#pragma once

#include <string>
#include <vector>

#include "PluginInterfaces.h"

void ConfigurePluginHost(const PluginHostOptions& options);
// Whether the host plays FileMaker 7 or later (API 50 on), which calls
// through FMWrapper.dll, and not FileMaker Pro 5 or 6, which calls through handles.
bool PlaysModernFileMaker();

bool LoadPlugin(const std::string& path);
// Init call (kind 0); returns what the plug-in wrote into the block.
int InitCall();
// An idle call, as today's FileMaker sends them from its own loop (never from
// inside a modal loop of the plug-in), then the scripts the plug-in queued run.
// FileMaker Pro 5 and 6 started no scripts for plug-ins: there it does nothing.
void IdleCall();
// How often the host's loop sends idle calls (50 ms unless a script says else:
// a FileMaker busy in its own loop sends them seldom).
void SetIdleEvery(unsigned ms);
unsigned IdleEvery();
// Shutdown call (kind 4), as when the plug-in is disabled or the host quits.
void ShutdownCall();
// FreeLibrary, as the host does after the shutdown call; ReloadPlugin loads the
// same file again.
void UnloadPlugin();
bool ReloadPlugin();
// Calls a function by name or number with a parameter and prints its reply.
// Returns false when the name is unknown.
bool CallByName(const std::string& name, const std::string& parameter);
void CallByNumber(unsigned number, const std::string& parameter);
// The text of the last reply a function gave ("" before any).
const std::string& LastReply();
// Makes the host's allocations fail from now on: handle resizes, or FMWrapper's objects.
void SetResizeFails(bool fail);
const std::string& FunctionName(unsigned number);
// The functions as a calculation dialog lists them: name, parameters, description.
std::vector<std::string> FunctionList();
// The plug-in's line in Get ( InstalledFMPlugins ), as FileMaker 12 and later
// make it: the name the plug-in gives, the file version of its version
// resource, and whether init enabled it. "" under FileMaker Pro 5 and 6.
std::string InstalledPluginLine();
