// The two interfaces in which the stand-in can call the plug-in, as FileMaker
// does: the classic one of FileMaker Pro 5 and 6 (handles, 32-bit only) and the
// modern one of FileMaker 7 and later (FMWrapper.dll). PluginHost.cpp hands
// each call to the one the host plays.
#pragma once

#include <string>
#include <vector>

// What the host tells the plug-in about itself.
struct PluginHostOptions {
#ifdef _WIN64
  int apiVersion = 67;  // FileMaker Pro 19.5 and later speak this one
#else
  int apiVersion = 11;  // below 50: FileMaker Pro 5 and 6's interface
#endif
  int applicationKind = 1;   // FileMaker Pro (today's FileMaker only)
  int startScriptError = 0;  // what the script starter answers; 0 queues the script
};
const PluginHostOptions& HostOptions();

struct PluginInterface {
  bool (*load)(const std::string& path);
  int (*init)();
  void (*idle)();
  void (*shutdown)();
  void (*unload)();
  bool (*callByName)(const std::string& name, const std::string& parameter);
  void (*callByNumber)(unsigned number, const std::string& parameter);
  const std::string& (*lastReply)();
  void (*setAllocationFails)(bool fail);
  const std::string& (*functionName)(unsigned number);
  std::vector<std::string> (*functionList)();
  // The plug-in's line in Get ( InstalledFMPlugins ) (FileMaker 12 and later), "" where there is none.
  std::string (*installedLine)();
};

#ifndef _WIN64
extern const PluginInterface CLASSIC_INTERFACE;
#endif
extern const PluginInterface MODERN_INTERFACE;
