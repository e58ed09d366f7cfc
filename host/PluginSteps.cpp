#include "PluginSteps.h"

#include <cstdlib>
#include <vector>

#include "CommandPanel.h"
#include "HostWindow.h"
#include "PluginHost.h"
#include "Timeline.h"

StepResult RunPluginStep(const std::string& command, const std::string& rest) {
  if (command == "init") {
    InitCall();
  } else if (command == "shutdown") {
    ShutdownCall();
  } else if (command == "load") {
    ReloadPlugin();
  } else if (command == "call") {
    std::string name, parameter;
    SplitFirst(rest, name, parameter);
    size_t reply = parameter.find("{reply}");
    if (reply != std::string::npos) parameter.replace(reply, 7, LastReply());
    CallByName(name, Unescape(parameter));
  } else if (command == "callnum") {
    std::string number, parameter;
    SplitFirst(rest, number, parameter);
    CallByNumber(static_cast<unsigned>(std::strtoul(number.c_str(), nullptr, 10)), Unescape(parameter));
  } else if (command == "idleevery") {
    SetIdleEvery(static_cast<unsigned>(std::strtoul(rest.c_str(), nullptr, 10)));
  } else if (command == "failresize") {
    SetResizeFails(rest == "on");
  } else if (command == "command") {
    RunCommand(rest);
  } else if (command == "functions") {
    std::vector<std::string> list = FunctionList();
    for (const std::string& f : list) Event("function %s", f.c_str());
    ShowFunctionList(list);
  } else if (command == "endfunctions") {
    ShowFunctionList({});
  } else if (command == "installedplugins") {
    std::string line = InstalledPluginLine();
    Event("Get ( InstalledFMPlugins ): %s", line.empty() ? "(none before FileMaker 12)" : line.c_str());
  } else {
    return StepResult::NotThisKind;
  }
  return StepResult::Done;
}
