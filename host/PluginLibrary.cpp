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

namespace {
HMODULE g_freed;  // the module freed last, while it is still mapped
bool IsMapped(HMODULE module) {
  char path[MAX_PATH];
  return GetModuleFileNameA(module, path, MAX_PATH) != 0;
}
}  // namespace

void ClosePluginLibrary(HMODULE& module) {
  if (!module) return;
  FreeLibrary(module);
  g_freed = IsMapped(module) ? module : nullptr;
  module = nullptr;
  Event("plug-in unloaded");
  if (g_freed) Event("plug-in still mapped after FreeLibrary");
}

void WatchFreedPlugin() {
  if (!g_freed || IsMapped(g_freed)) return;
  g_freed = nullptr;
  Event("plug-in no longer mapped");
}
