#include "PluginLibrary.h"

#include "Timeline.h"

bool OpenPluginLibrary(const std::string& path, HMODULE& module, FARPROC& entry) {
  entry = nullptr;
  module = LoadLibraryA(path.c_str());
  if (!module) {
    Event("cannot load %s (error %lu)", path.c_str(), GetLastError());
    return false;
  }
  entry = GetProcAddress(module, "FMExternCallProc");
  if (!entry) Event("%s has no FMExternCallProc", path.c_str());
  return entry != nullptr;
}

void ClosePluginLibrary(HMODULE& module) {
  if (!module) return;
  FreeLibrary(module);
  module = nullptr;
  Event("plug-in unloaded");
}
