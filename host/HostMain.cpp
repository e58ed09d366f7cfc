// FileMaker Pro's stand-in: loads the plug-in (Lullex.fmx as FileMaker Pro 5
// and 6 do, or, with --api 50 or more, as the 32-bit FileMaker 7 to 18 do;
// Lullex.fmx64 as 64-bit FileMaker does), shows a main window of class
// "FMPRO5APP", "FMPRO18.0APP" or "FMPRO21.0APP" with a record field, and runs a
// script of steps against it, printing one line per event.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "CommandPanel.h"
#include "HostWindow.h"
#include "OtherApplication.h"
#include "PluginHost.h"
#include "Script.h"
#include "Timeline.h"

namespace {

void Usage() {
  std::printf(
      "usage: LullexHost [--plugin PATH] [--script FILE | --demo | --demo-login | --interactive]\n"
      "                  [--class NAME] [--inner-class NAME] [--shots FOLDER] [--timeout MS]\n"
      "                  [--no-keys] [--no-plugin] [--api N] [--app-kind N] [--start-script-error N]\n");
}

void CALLBACK Deadline(HWND, UINT, UINT_PTR, DWORD) {
  Event("host timed out");
  std::fflush(stdout);
  ExitProcess(2);
}

std::string BesideExecutable(const char* file) {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  folder = folder.substr(0, folder.find_last_of("\\/") + 1);
  return folder + file;
}

// FileMaker sends idle calls from its own loop, many a second.
void IdleCallIfDue() {
  static DWORD last;
  if (GetTickCount() - last < IdleEvery()) return;
  last = GetTickCount();
  IdleCall();
}

// As the FileMaker played names its application window.
const char* MainWindowClass() {
#ifdef _WIN64
  return "FMPRO21.0APP";
#else
  return PlaysModernFileMaker() ? "FMPRO18.0APP" : "FMPRO5APP";
#endif
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 7 && std::string(argv[1]) == "--move-mouse")
    return RunMouseMover(
        std::strtoul(argv[2], nullptr, 10), std::strtoll(argv[3], nullptr, 10),
        {std::strtoul(argv[4], nullptr, 10), std::strtoul(argv[5], nullptr, 10), std::strtoul(argv[6], nullptr, 10)});
  if (argc == 5 && std::string(argv[1]) == "--type-keys")
    return RunTyper(std::strtoul(argv[2], nullptr, 10), std::strtoll(argv[3], nullptr, 10), argv[4]);
  if (argc == 5 && std::string(argv[1]) == "--other-app")
    return RunOtherApplication(std::strtoul(argv[2], nullptr, 10), std::strtoll(argv[3], nullptr, 10), argv[4]);
#ifdef _WIN64
  std::string plugin = BesideExecutable("Lullex.fmx64");
#else
  std::string plugin = BesideExecutable("Lullex.fmx");
#endif
  PluginHostOptions hostOptions;
  std::string scriptPath, shots = ".";
  bool demo = false, loginDemo = false;
  DWORD timeout = 120000;
  HostWindowOptions options;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    bool hasValue = i + 1 < argc;
    if (arg == "--plugin" && hasValue)
      plugin = argv[++i];
    else if (arg == "--script" && hasValue)
      scriptPath = argv[++i];
    else if (arg == "--class" && hasValue)
      options.mainClass = argv[++i];
    else if (arg == "--inner-class" && hasValue)
      options.innerClass = argv[++i];
    else if (arg == "--shots" && hasValue)
      shots = argv[++i];
    else if (arg == "--timeout" && hasValue)
      timeout = std::strtoul(argv[++i], nullptr, 10);
    else if (arg == "--demo")
      demo = true, options.logKeys = false;
    else if (arg == "--demo-login")
      loginDemo = true, options.logKeys = false;
    else if (arg == "--no-keys")
      options.logKeys = false;
    else if (arg == "--api" && hasValue)
      hostOptions.apiVersion = std::atoi(argv[++i]);
    else if (arg == "--app-kind" && hasValue)
      hostOptions.applicationKind = std::atoi(argv[++i]);
    else if (arg == "--start-script-error" && hasValue)
      hostOptions.startScriptError = std::atoi(argv[++i]);
    else if (arg == "--no-plugin")
      plugin.clear();
    else if (arg == "--interactive")
      options.interactive = true;
    else {
      Usage();
      return 2;
    }
  }
  ConfigurePluginHost(hostOptions);
  if (options.mainClass.empty()) options.mainClass = MainWindowClass();
  TimelineStart();
  std::vector<std::string> script;
  if (!scriptPath.empty() && !LoadScript(scriptPath, script)) {
    Event("cannot read script %s", scriptPath.c_str());
    return 2;
  }
  if (demo) script = DemoScript();
  if (loginDemo) script = LoginDemoScript();
  SetCommandHandler(RunInteractiveLine);
  if (!CreateHostWindows(options)) {
    Event("cannot create the host windows");
    return 2;
  }
  Event("main window \"%s\" ready", options.mainClass.c_str());
  if (!plugin.empty() && !LoadPlugin(plugin)) return 2;
  if (options.interactive && script.empty()) {
    if (!plugin.empty()) InitCall();
    Event("interactive: type a function name and its parameter into the field, then Enter or Call");
  } else {
    if (timeout) SetTimer(nullptr, 0, timeout, Deadline);
    StartScript(script, shots);
  }
  MSG msg;
  const LONG_PTR hostModule = reinterpret_cast<LONG_PTR>(GetModuleHandleA(nullptr));
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_TIMER && msg.hwnd && GetWindowLongPtrA(msg.hwnd, GWLP_HINSTANCE) != hostModule)
      CountPluginTimerMessage();
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    RunRequestedUnload();
    IdleCallIfDue();
  }
  if (QuitWasPosted()) {
    // FileMaker quits when its loop ends, and shuts its plug-ins down.
    Event("host's loop ended by WM_QUIT %d, main window %s", static_cast<int>(msg.wParam),
          IsWindowVisible(MainWindow()) ? "shown" : "hidden");
    ShutdownCall();
    Event("after the shutdown, main window %s", IsWindowVisible(MainWindow()) ? "shown" : "hidden");
  }
  return options.interactive && script.empty() ? 0 : static_cast<int>(msg.wParam);
}
