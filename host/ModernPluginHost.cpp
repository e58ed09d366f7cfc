// Plays FileMaker 7 and later (32-bit or 64-bit, as this build) towards the plug-in: loads it, asks its strings,
// initialises it (it registers its functions with this host's FMWrapper.dll),
// calls those functions through their callbacks, shuts it down and frees it.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "FileVersion.h"
#include "PluginInterfaces.h"
#include "PluginLibrary.h"
#include "RecordRules.h"
#include "RecordWindows.h"
#include "StandInCall.h"
#include "Timeline.h"
#include "portable/modern/FMWrapperApi.h"
#include "portable/modern/ModernCallBlock.h"

namespace {

typedef void (*EntryPoint)(FMModernCallBlock*);

HMODULE g_module;
EntryPoint g_entry;
bool g_enabled;  // by its last init, until its shutdown
std::string g_lastReply;
#ifdef _WIN64
const wchar_t HOST_VERSION[] = L"Pro 21.0v1";
#else
const wchar_t HOST_VERSION[] = L"Pro 18.0v4";  // the last 32-bit FileMaker
#endif

// Scripts the plug-in asked to start, run when the host's loop comes round, as
// FileMaker runs them once its current scripts have finished.
struct QueuedScript {
  std::string file, script, parameter;
  unsigned control;
};
std::vector<QueuedScript> g_queuedScripts;

int16_t FM_CALLBACK StartScript(const void* fileName, const void* scriptName, uint8_t control, const void* parameter);

// The call block's current-environment callback.
int16_t FM_CALLBACK SetToCurrentEnvironment(void* environment) { return StandIn_SetToCurrentEnvironment(environment); }

// What the windows answer a plug-in that asks of their record.
bool AnswerCalculation(const wchar_t* expression, std::wstring* answer) {
  std::wstring asked = expression;
  int value;
  if (asked == L"Get ( RecordOpenState )")
    value = RecordOpenState();
  else if (asked == L"Get ( WindowMode )")
    value = WindowMode();
  else
    return false;
  *answer = std::to_wstring(value);
  Event("FileMaker answers %s: %d", std::string(asked.begin(), asked.end()).c_str(), value);
  return true;
}

FMModernCallBlock NewBlock(uint8_t kind) {
  FMModernCallBlock block = {};
  block.apiVersion = static_cast<int16_t>(HostOptions().apiVersion);
  block.unusedId = -1;
  block.entryPoint = reinterpret_cast<uintptr_t>(g_entry);
  block.callKind = kind;
  block.instance = reinterpret_cast<uintptr_t>(g_module);
  block.startScript = reinterpret_cast<uintptr_t>(&StartScript);
  block.currentEnvironment = reinterpret_cast<uintptr_t>(&SetToCurrentEnvironment);
  return block;
}

std::string Utf8(const std::wstring& text) {
  int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
  return out;
}

std::wstring Wide(const std::string& text) {
  int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
  return out;
}

std::string GetString(uint8_t id, size_t room = 1024) {
  std::wstring answer(room + 1, L'\x2A');  // a mark past the room shows an overrun
  FMModernCallBlock block = NewBlock(CALL_GET_STRING);
  block.parm1 = id;
  block.parm2 = 0x0409;
  block.parm3 = room;
  block.result = reinterpret_cast<uintptr_t>(&answer[0]);
  g_entry(&block);
  if (answer[room] != L'\x2A') Event("GetString %u wrote past the room of %u", id, static_cast<unsigned>(room));
  return Utf8(answer.substr(0, answer.find(L'\0')));
}

// The registered function named name; a script's hyphen stands for the underscore.
bool FindRegistered(const std::string& name, RegisteredFunction& found) {
  std::string wanted = name;
  if (wanted.compare(0, 5, "Lulx-") == 0) wanted[4] = '_';
  for (int i = 0; StandIn_Registered(i, &found); ++i)
    if (Utf8(found.name) == wanted) return true;
  return false;
}

bool FindRegistered(unsigned id, RegisteredFunction& found) {
  for (int i = 0; StandIn_Registered(i, &found); ++i)
    if (found.id == static_cast<int16_t>(id)) return true;
  return false;
}

std::string Shown(const std::string& text) {
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text.data());
  return text.size() > 60 ? Escaped(bytes, 60) + "..." : Escaped(bytes, text.size());
}

void Call(const RegisteredFunction& function, const std::string& parameter) {
  // A function that may go without its parameter is called without one when the
  // script gives none; one of two parameters takes them as "first;second".
  std::vector<std::wstring> arguments;
  size_t semicolon = parameter.find(';');
  if (function.maximumArguments >= 2 && semicolon != std::string::npos) {
    arguments.push_back(Wide(parameter.substr(0, semicolon)));
    arguments.push_back(Wide(parameter.substr(semicolon + 1)));
  } else if (!parameter.empty() || function.minimumArguments > 0) {
    arguments.push_back(Wide(parameter));
  }
  StandInReply reply = CallRegistered(function, arguments);
  std::string name = Utf8(function.name);
  const char* error = reply.status ? " (error)" : "";
  if (!reply.given) {
    Event("call %s(\"%s\") -> no reply%s", name.c_str(), Shown(parameter).c_str(), error);
    return;
  }
  std::string text = Utf8(reply.text);
  g_lastReply = text;
  Event("call %s(\"%s\") -> reply \"%s\"%s", name.c_str(), Shown(parameter).c_str(),
        Escaped(reinterpret_cast<const unsigned char*>(text.data()), text.size()).c_str(), error);
}

int16_t FM_CALLBACK StartScript(const void* fileName, const void* scriptName, uint8_t control, const void* parameter) {
  if (HostOptions().startScriptError) return static_cast<int16_t>(HostOptions().startScriptError);
  g_queuedScripts.push_back(
      {Utf8(StandIn_TextUnits(fileName)), Utf8(StandIn_TextUnits(scriptName)), Utf8(DataText(parameter)), control});
  return 0;
}

void IdleCall() {
  if (!g_entry) return;
  FMModernCallBlock block = NewBlock(CALL_IDLE);
  block.parm1 = 1;  // the user is active
  g_entry(&block);
  std::vector<QueuedScript> ready;
  ready.swap(g_queuedScripts);
  for (const QueuedScript& s : ready)
    Event("script \"%s\" of \"%s\" ran with parameter %s (control %u)", s.script.c_str(), s.file.c_str(),
          s.parameter.c_str(), s.control);
}

bool LoadPlugin(const std::string& path) {
  FARPROC entry;
  if (!OpenPluginLibrary(path, g_module, entry)) return false;
  g_entry = reinterpret_cast<EntryPoint>(reinterpret_cast<void*>(entry));
  StandIn_SetEvaluator(AnswerCalculation);
  Event("loaded %s: plug-in \"%s\", options \"%s\"", path.c_str(), GetString(STRING_NAME).c_str(),
        GetString(STRING_OPTIONS).c_str());
  return true;
}

int InitCall() {
  if (!g_entry) {
    Event("init: no plug-in loaded");
    return 0;
  }
  FMModernCallBlock block = NewBlock(CALL_INIT);
  block.parm1 = static_cast<uint8_t>(HostOptions().applicationKind);
  block.parm2 = reinterpret_cast<uintptr_t>(HOST_VERSION);
  block.result = 0xDEADBEEF;
  g_entry(&block);
  int reply = static_cast<int>(static_cast<intptr_t>(block.result));
  g_enabled = reply > 0;
  Event("init -> %d, %d functions registered", reply, StandIn_RegisteredCount());
  return reply;
}

void ShutdownCall() {
  if (!g_entry) {
    Event("shutdown: no plug-in loaded");
    return;
  }
  FMModernCallBlock block = NewBlock(CALL_SHUTDOWN);
  g_entry(&block);
  g_enabled = false;
  Event("shutdown call returned, %d functions registered", StandIn_RegisteredCount());
}

void UnloadPlugin() {
  ClosePluginLibrary(g_module);
  g_entry = nullptr;
}

void CallByNumber(unsigned number, const std::string& parameter) {
  RegisteredFunction function;
  if (!g_entry || !FindRegistered(number, function)) {
    Event("call #%u: no such function registered", number);
    return;
  }
  Call(function, parameter);
}

const std::string& LastReply() { return g_lastReply; }

bool CallByName(const std::string& name, const std::string& parameter) {
  RegisteredFunction function;
  if (!g_entry || !FindRegistered(name, function)) {
    Event("no function named %s", name.c_str());
    return false;
  }
  Call(function, parameter);
  return true;
}

void SetResizeFails(bool fail) { StandIn_SetAllocationFails(fail); }

const std::string& FunctionName(unsigned number) {
  static std::string name;
  RegisteredFunction function;
  name = FindRegistered(number, function) ? Utf8(function.name) : "#" + std::to_string(number);
  return name;
}

std::vector<std::string> FunctionList() {
  std::vector<std::string> lines;
  RegisteredFunction f;
  for (int i = 0; StandIn_Registered(i, &f); ++i) {
    // A description reads "type-ahead words|what it does"; the dialog shows the second part.
    std::string description = f.description ? Utf8(f.description) : "";
    lines.push_back(Utf8(f.prototype) + "    " + description.substr(description.find('|') + 1));
  }
  return lines;
}

std::string InstalledLine() {
  if (!g_module) return "";
  return GetString(STRING_NAME) + ";" + FileVersionOf(g_module) + (g_enabled ? ";Enabled" : ";Disabled");
}

}  // namespace

const PluginInterface MODERN_INTERFACE = {LoadPlugin,     InitCall,     IdleCall,     ShutdownCall,
                                          UnloadPlugin,   CallByName,   CallByNumber, LastReply,
                                          SetResizeFails, FunctionName, FunctionList, InstalledLine};
