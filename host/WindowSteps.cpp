#include "WindowSteps.h"

#include <windows.h>

#include "HostWindow.h"
#include "OtherApplication.h"
#include "RecordWindows.h"
#include "Timeline.h"

namespace {

void Activate(HWND hwnd) {
  if (IsIconic(hwnd)) ShowWindow(hwnd, SW_RESTORE);
  SetForegroundWindow(hwnd);
  SetActiveWindow(hwnd);
}

}  // namespace

StepResult RunWindowStep(const std::string& command, const std::string& rest) {
  if (command == "focus") {
    HWND window = rest == "record" ? MainWindow() : RecordWindowNamed(rest);
    if (!window) {
      Event("no window named %s", rest.c_str());
      return StepResult::Unknown;
    }
    Activate(window);
    SetFocus(window == MainWindow() ? RecordField() : RecordFieldOf(window));
  } else if (command == "window") {
    OpenDocumentWindow(rest);
  } else if (command == "card") {
    OpenCardWindow(rest);
  } else if (command == "shownoactivate") {
    ShowWindow(RecordWindowNamed(rest), SW_SHOWNA);
  } else if (command == "closewindow") {
    DestroyWindow(RecordWindowNamed(rest));
  } else if (command == "windows") {
    LogVisibleWindows();
  } else if (command == "activate") {
    Activate(rest == "other" ? OtherApplicationWindow(ThisProgram()) : MainWindow());
  } else if (command == "minimize") {
    ShowWindow(MainWindow(), SW_MINIMIZE);
  } else if (command == "menu") {
    OpenPopupMenu();
  } else if (command == "endmenu") {
    EndMenu();
  } else if (command == "hostbox") {
    OpenHostBox();
  } else if (command == "endhostbox") {
    CloseHostBox();
  } else if (command == "box") {
    HWND box = FindWindowA(nullptr, rest.c_str());
    Event("box \"%s\" %s", rest.c_str(), !box ? "not up" : IsWindowVisible(box) ? "up and shown" : "up and hidden");
  } else if (command == "destroymain") {
    DestroyMainWindow();
  } else {
    return StepResult::NotThisKind;
  }
  return StepResult::Done;
}
