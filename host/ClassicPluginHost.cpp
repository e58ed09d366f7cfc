// Plays FileMaker Pro 5 and 6 towards the plug-in: loads it, reads its names
// from its string resources, and calls it through the handle-era call block.
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>

#include "HostHandles.h"
#include "PluginInterfaces.h"
#include "PluginLibrary.h"
#include "Timeline.h"

namespace {

// The host call block, laid out as the host lays it out.
#pragma pack(push, 1)
struct CallBlock {
  int16_t interfaceVersion;
  uint8_t pad2[7];
  uint8_t callKind;
  uint8_t pad10[2];
  uint32_t functionNumber;
  unsigned char** parameterHandle;
  HINSTANCE instanceHandle;
  uint32_t result;
  uint8_t pad28[8];
  void* resizeHandleProc;
  void* handleSizeProc;
  uint8_t pad44[24];
  void* memoryErrorProc;
  uint8_t pad72[64];
};
#pragma pack(pop)
static_assert(offsetof(CallBlock, memoryErrorProc) == 68, "host call block layout");

typedef void (*EntryPoint)(CallBlock*);

HMODULE g_module;
EntryPoint g_entry;
std::string g_lastReply;
std::map<std::string, unsigned> g_numbers;
std::string g_names[16];

CallBlock NewBlock(uint8_t kind) {
  CallBlock block;
  std::memset(&block, 0, sizeof block);
  block.interfaceVersion = static_cast<int16_t>(HostOptions().apiVersion);
  block.callKind = kind;
  block.instanceHandle = g_module;
  HostCallbacks host = FakeHostCallbacks();
  block.resizeHandleProc = reinterpret_cast<void*>(host.resizeHandleProc);
  block.handleSizeProc = reinterpret_cast<void*>(host.handleSizeProc);
  block.memoryErrorProc = reinterpret_cast<void*>(host.memoryErrorProc);
  return block;
}

const char kUntouched[] = "\x01untouched";

const std::string& FunctionName(unsigned number);

bool LoadPlugin(const std::string& path) {
  FARPROC entry;
  if (!OpenPluginLibrary(path, g_module, entry)) return false;
  g_entry = reinterpret_cast<EntryPoint>(reinterpret_cast<void*>(entry));
  char name[256] = "", features[256] = "";
  LoadStringA(g_module, 128, name, sizeof name);
  LoadStringA(g_module, 131, features, sizeof features);
  int functions = 0;
  for (unsigned id = 145; id < 144 + 16; ++id) {
    char text[256];
    if (LoadStringA(g_module, id, text, sizeof text) > 0) {
      g_numbers[text] = id - 144;
      g_names[id - 144] = text;
      ++functions;
    }
  }
  Event("loaded %s: plug-in \"%s\", features \"%s\", %d functions", path.c_str(), name, features, functions);
  return true;
}

int InitCall() {
  if (!g_entry) {
    Event("init: no plug-in loaded");
    return 0;
  }
  CallBlock block = NewBlock(0);
  block.result = 0xDEADBEEF;
  g_entry(&block);
  Event("init -> %d", static_cast<int>(block.result));
  return static_cast<int>(block.result);
}

void ShutdownCall() {
  if (!g_entry) {
    Event("shutdown: no plug-in loaded");
    return;
  }
  CallBlock block = NewBlock(4);
  g_entry(&block);
  Event("shutdown call returned");
}

// FileMaker Pro 5 and 6 sent no idle calls.
void IdleCall() {}

void UnloadPlugin() {
  ClosePluginLibrary(g_module);
  g_entry = nullptr;
}

void CallByNumber(unsigned number, const std::string& parameter) {
  if (!g_entry) {
    Event("call #%u: no plug-in loaded", number);
    return;
  }
  FakeHandle param(parameter);
  FakeHandle result(kUntouched);
  CallBlock block = NewBlock(3);
  block.functionNumber = number;
  block.parameterHandle = param.Handle();
  block.result = reinterpret_cast<uint32_t>(result.Handle());
  g_entry(&block);
  std::string shown = parameter.size() > 60
                          ? Escaped(reinterpret_cast<const unsigned char*>(parameter.data()), 60) + "..."
                          : Escaped(reinterpret_cast<const unsigned char*>(parameter.data()), parameter.size());
  const std::string& name = FunctionName(number);
  if (result.size == static_cast<int32_t>(sizeof kUntouched - 1) &&
      std::memcmp(result.bytes, kUntouched, result.size) == 0)
    Event("call %s(\"%s\") -> no reply", name.c_str(), shown.c_str());
  else
    Event("call %s(\"%s\") -> reply \"%s\"", name.c_str(), shown.c_str(), Escaped(result.bytes, result.size).c_str());
  g_lastReply.assign(reinterpret_cast<const char*>(result.bytes), result.size);
}

const std::string& LastReply() { return g_lastReply; }

bool CallByName(const std::string& name, const std::string& parameter) {
  auto found = g_numbers.find(name);
  if (found == g_numbers.end()) {
    Event("no function named %s", name.c_str());
    return false;
  }
  CallByNumber(found->second, parameter);
  return true;
}

void SetResizeFails(bool fail) { SetFakeResizeFails(fail); }

std::vector<std::string> FunctionList() {
  std::vector<std::string> lines;
  for (const std::string& name : g_names)
    if (!name.empty()) lines.push_back(name);
  return lines;
}

const std::string& FunctionName(unsigned number) {
  static std::string unknown;
  if (number < 16 && !g_names[number].empty()) return g_names[number];
  unknown = "#" + std::to_string(number);
  return unknown;
}

// Get ( InstalledFMPlugins ) came with FileMaker 12.
std::string InstalledLine() { return ""; }

}  // namespace

const PluginInterface CLASSIC_INTERFACE = {LoadPlugin,     InitCall,     IdleCall,     ShutdownCall,
                                           UnloadPlugin,   CallByName,   CallByNumber, LastReply,
                                           SetResizeFails, FunctionName, FunctionList, InstalledLine};
