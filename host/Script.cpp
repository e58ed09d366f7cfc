#include "Script.h"

#include <windows.h>
// After windows.h:
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "InputSteps.h"
#include "LoginSteps.h"
#include "OtherApplication.h"
#include "PluginHost.h"
#include "PluginSteps.h"
#include "RecordRules.h"
#include "Screenshot.h"
#include "Timeline.h"
#include "TimelineSvg.h"
#include "WindowSteps.h"

namespace {

const UINT STEP_MS = 20;

std::vector<std::string> g_lines;
size_t g_next;
DWORD g_waitUntil;
std::string g_waitText;
size_t g_waitFrom;
bool g_inStep;
int g_failures;
std::string g_shots;
UINT_PTR g_stepTimer;
bool g_interactive;
bool g_unloadRequested;
bool g_quitPosted;
unsigned long g_pluginTimerMessages;

void Finish() {
  KillTimer(nullptr, g_stepTimer);
  CloseOtherApplication();
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto ms = [](const FILETIME& t) {
    return ((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000;
  };
  Event("process cpu: user %llu ms, kernel %llu ms", ms(user), ms(kernel));
  // The plug-in's own threads (its watching thread), apart from the host's.
  unsigned long long otherMs = 0;
  HANDLE threads = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(threads, &entry); more; more = Thread32Next(threads, &entry)) {
    if (entry.th32OwnerProcessID != GetCurrentProcessId() || entry.th32ThreadID == GetCurrentThreadId()) continue;
    HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID);
    if (thread && GetThreadTimes(thread, &created, &exited, &kernel, &user)) otherMs += ms(user) + ms(kernel);
    if (thread) CloseHandle(thread);
  }
  CloseHandle(threads);
  Event("other threads cpu: %llu ms", otherMs);
  Event("timer messages to the plug-in's windows: %lu", g_pluginTimerMessages);
  Event("script finished%s", g_failures ? " with failures" : "");
  PostQuitMessage(g_failures ? 1 : 0);
}

void WaitFor(DWORD ms, const std::string& text, bool sinceTheStart = false) {
  g_waitText = text;
  g_waitFrom = sinceTheStart ? 0 : EventCount();
  g_waitUntil = GetTickCount() + ms;
  g_waitUntil += g_waitUntil == 0;
}

// Runs one step; a wait step only sets the wait that RunSteps honours.
// The runner's own steps; the others by kind.
StepResult RunStep(const std::string& line) {
  std::string command, rest;
  SplitFirst(line, command, rest);
  if (command.empty() || command[0] == '#') return StepResult::Done;
  if (command == "modern") return PlaysModernFileMaker() ? RunStep(rest) : StepResult::Done;
  if (command == "say") {
    Event("-- %s", rest.c_str());
  } else if (command == "unload") {
    // As FileMaker does, from the host's own loop: never inside a modal loop
    // of the plug-in, whose code would then return into nothing.
    g_unloadRequested = true;
    WaitFor(10000, "plug-in unloaded");
  } else if (command == "wait") {
    WaitFor(static_cast<DWORD>(std::atol(rest.c_str())), "");
  } else if (command == "waitfor" || command == "waitseen") {
    std::string ms, text;
    SplitFirst(rest, ms, text);
    WaitFor(static_cast<DWORD>(std::atol(ms.c_str())), text, command == "waitseen");
  } else if (command == "postquit") {
    // As another program may: the loop running now, whichever it is, gets it first.
    int code = std::atoi(rest.c_str());
    Event("WM_QUIT %d posted to the host's thread", code);
    g_quitPosted = true;
    PostQuitMessage(code);
  } else if (command == "shot") {
    std::string path = g_shots + "\\" + rest + ".png";
    if (SaveScreenshot(path)) Event("screenshot %s.png", rest.c_str());
  } else if (command == "timeline") {
    std::string path = g_shots + "\\" + rest + ".svg";
    if (SaveTimelineSvg(path)) Event("timeline %s.svg", rest.c_str());
  } else if (command == "quit") {
    return StepResult::Quit;
  } else {
    for (StepResult (*kind)(const std::string&, const std::string&) :
         {RunPluginStep, RunInputStep, RunWindowStep, RunLoginStep, RunRecordStep}) {
      StepResult result = kind(command, rest);
      if (result != StepResult::NotThisKind) return result;
    }
    Event("unknown step: %s", line.c_str());
    return StepResult::Unknown;
  }
  return StepResult::Done;
}

bool Waiting() {
  if (!g_waitUntil) return false;
  if (!g_waitText.empty() && EventSeen(g_waitText, g_waitFrom)) {
    g_waitText.clear();
    g_waitUntil = 0;
    return false;
  }
  if (static_cast<LONG>(GetTickCount() - g_waitUntil) < 0) return true;
  if (!g_waitText.empty()) {
    Event("timed out waiting for \"%s\"", g_waitText.c_str());
    ++g_failures;
    g_waitText.clear();
  }
  g_waitUntil = 0;
  return false;
}

// Runs steps until one has to wait. Returns false when the script has ended;
// the interactive window's script never ends but by "quit".
bool RunSteps() {
  for (;;) {
    if (Waiting()) return true;
    if (g_next >= g_lines.size()) return g_interactive;
    std::string line = g_lines[g_next++];  // a step may add lines
    StepResult result = RunStep(line);
    if (result == StepResult::Quit) return false;
    if (result == StepResult::Unknown) ++g_failures;
  }
}

void CALLBACK StepTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (g_inStep) return;
  g_inStep = true;
  bool more = RunSteps();
  g_inStep = false;
  if (!more) Finish();
}

}  // namespace

bool LoadScript(const std::string& path, std::vector<std::string>& lines) {
  std::ifstream in(path);
  if (!in) return false;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return true;
}

void RunInteractiveLine(const std::string& line) {
  std::string first, rest;
  SplitFirst(line, first, rest);
  if (first.compare(0, 4, "Lulx") == 0) {
    CallByName(first, Unescape(rest));
    return;
  }
  if (!g_stepTimer) {
    g_interactive = true;
    g_stepTimer = SetTimer(nullptr, 0, STEP_MS, StepTimer);
  }
  g_lines.push_back(line);  // runs after the steps before it
}

void StartScript(const std::vector<std::string>& lines, const std::string& shotsFolder) {
  g_lines = lines;
  g_next = 0;
  g_shots = shotsFolder;
  // A thread timer: the script outlives the main window when a step destroys it.
  g_stepTimer = SetTimer(nullptr, 0, STEP_MS, StepTimer);
}

void RunRequestedUnload() {
  if (!g_unloadRequested) return;
  g_unloadRequested = false;
  UnloadPlugin();
  Event("plug-in unloaded");
}

int ScriptResult() { return g_failures ? 1 : 0; }
bool QuitWasPosted() { return g_quitPosted; }
void CountPluginTimerMessage() { ++g_pluginTimerMessages; }
