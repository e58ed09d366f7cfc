// Plays FileMaker Pro's part towards the plug-in: loads it, reads its names from
// its string resources, and calls its functions through a host call block.
#pragma once

#include <string>

bool LoadPlugin(const std::string& path);
// Init call (kind 0); returns what the plug-in wrote into the block.
int InitCall();
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
// Makes the host's handle resizes fail from now on.
void SetResizeFails(bool fail);
const std::string& FunctionName(unsigned number);
