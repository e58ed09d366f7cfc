#include "InputSteps.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "OtherApplication.h"
#include "Timeline.h"
#include "TypedInput.h"

namespace {

void PressNamedKey(const std::string& name) {
  if (name == "CTRL+ENTER") {
    TypeKeyWith(VK_CONTROL, VK_RETURN);
    return;
  }
  WORD vk = name == "ENTER" ? VK_RETURN : name == "ESCAPE" ? VK_ESCAPE : name == "TAB" ? VK_TAB : 0;
  if (!vk) {
    Event("unknown key %s", name.c_str());
    return;
  }
  TypeKey(vk);
}

struct SessionNotice {
  DWORD process;
  UINT message;
  WPARAM code;
};

BOOL CALLBACK SendToOwnWindow(HWND hwnd, LPARAM param) {
  const SessionNotice* notice = reinterpret_cast<const SessionNotice*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(hwnd, &process);
  // Posted, as Windows delivers it from outside: never inside the step.
  if (process == notice->process) PostMessageA(hwnd, notice->message, notice->code, 0);
  return TRUE;
}

// Windows' part in the session's notifications, which Wine registers and never
// sends: its lock screen or a disconnect taking the keyboard, and giving it back.
void SessionStep(const std::string& what) {
  const UINT SESSION_CHANGE = 0x02B1;  // WM_WTSSESSION_CHANGE
  struct Change {
    const char* name;
    WPARAM code;
    const char* says;
  };
  const Change CHANGES[] = {{"lock", 7, "Windows locks the session"},
                            {"unlock", 8, "Windows unlocks the session"},
                            {"disconnect", 2, "the console disconnects from the session"},
                            {"connect", 1, "the console connects to the session"},
                            {"remote-disconnect", 4, "the remote user disconnects from the session"},
                            {"remote-connect", 3, "the remote user connects to the session"}};
  for (const Change& c : CHANGES) {
    if (what != c.name) continue;
    Event("%s", c.says);
    SessionNotice notice = {GetCurrentProcessId(), SESSION_CHANGE, c.code};
    EnumWindows(SendToOwnWindow, reinterpret_cast<LPARAM>(&notice));
    return;
  }
  Event("unknown session change %s", what.c_str());
}

}  // namespace

StepResult RunInputStep(const std::string& command, const std::string& rest) {
  if (command == "move") {
    int x = 0, y = 0;
    std::sscanf(rest.c_str(), "%d %d", &x, &y);
    Event("user moves the mouse to %d, %d", x, y);
    SetCursorPos(x, y);
  } else if (command == "type") {
    Event("user types \"%s\"", rest.c_str());
    TypeText(Unescape(rest));
  } else if (command == "key") {
    Event("user presses %s", rest.c_str());
    PressNamedKey(rest);
  } else if (command == "busy") {
    std::string duration, typed;
    SplitFirst(rest, duration, typed);
    DWORD ms = static_cast<DWORD>(std::atol(duration.c_str()));
    TypeText(typed);  // left waiting in the queue until the host wakes
    Event("host busy for %lu ms", static_cast<unsigned long>(ms));
    Sleep(ms);  // no message handled meanwhile, as on a sleeping machine or in a long import
    Event("host awake");
  } else if (command == "othermoves") {
    MouseMoves moves = {};
    std::sscanf(rest.c_str(), "%lu %lu %lu", &moves.ms, &moves.pauseAt, &moves.pauseMs);
    StartMouseMover(ThisProgram(), moves);
  } else if (command == "othertypes") {
    StartTyper(ThisProgram(), rest);
  } else if (command == "session") {
    SessionStep(rest);
  } else if (command == "wheel") {
    Event("user turns the mouse wheel");
    TurnWheel();
  } else if (command == "otherhang") {
    HangOtherApplication(static_cast<DWORD>(std::atol(rest.c_str())));
  } else {
    return StepResult::NotThisKind;
  }
  return StepResult::Done;
}
