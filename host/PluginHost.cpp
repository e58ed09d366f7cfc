#include "PluginHost.h"

#include "PluginInterfaces.h"
#include "portable/host/HostInterface.h"

namespace {

PluginHostOptions g_options;
std::string g_path;

// From API 50 on, FileMaker speaks the modern interface; 64-bit FileMaker
// never spoke another.
const PluginInterface& Interface() {
#ifdef _WIN64
  return MODERN_INTERFACE;
#else
  return PlaysModernFileMaker() ? MODERN_INTERFACE : CLASSIC_INTERFACE;
#endif
}

}  // namespace

const PluginHostOptions& HostOptions() { return g_options; }
void ConfigurePluginHost(const PluginHostOptions& options) { g_options = options; }
bool PlaysModernFileMaker() { return g_options.apiVersion >= FIRST_MODERN_INTERFACE_VERSION; }

bool LoadPlugin(const std::string& path) {
  g_path = path;
  return Interface().load(path);
}
bool ReloadPlugin() { return LoadPlugin(g_path); }
int InitCall() { return Interface().init(); }
void IdleCall() { Interface().idle(); }

namespace {
unsigned g_idleEveryMs = 50;
}
void SetIdleEvery(unsigned ms) { g_idleEveryMs = ms; }
unsigned IdleEvery() { return g_idleEveryMs; }
void ShutdownCall() { Interface().shutdown(); }
void UnloadPlugin() { Interface().unload(); }
bool CallByName(const std::string& name, const std::string& parameter) {
  return Interface().callByName(name, parameter);
}
void CallByNumber(unsigned number, const std::string& parameter) { Interface().callByNumber(number, parameter); }
const std::string& LastReply() { return Interface().lastReply(); }
void SetResizeFails(bool fail) { Interface().setAllocationFails(fail); }
const std::string& FunctionName(unsigned number) { return Interface().functionName(number); }
std::vector<std::string> FunctionList() { return Interface().functionList(); }
std::string InstalledPluginLine() { return Interface().installedLine(); }
