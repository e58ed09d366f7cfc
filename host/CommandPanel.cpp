#include "CommandPanel.h"

#include <cstdio>
#include <cstring>

#include "Timeline.h"
#include "WindowClass.h"

namespace {

const int IDC_COMMAND = 200;
const int IDC_CALL = 201;
const int IDC_REPLY = 202;
const int IDC_EVENTS = 203;
const int EVENTS_SHOWN = 8;

HWND g_command, g_reply, g_events;
WNDPROC g_commandProc;
void (*g_commandHandler)(const std::string& line);

// What a person at the interactive window should see happen: the reply of the
// last call, and the latest commits, warnings, locks and unlocks with their times.
void ShowInWindow(const TimelineEvent& event) {
  const std::string& text = event.text;
  size_t reply = text.find(") -> ");
  if (text.compare(0, 5, "call ") == 0 && reply != std::string::npos) {
    std::string answer = text.substr(reply + 5);
    if (answer.compare(0, 6, "reply ") == 0) answer = answer.substr(6);
    SetWindowTextA(g_reply, ("Reply: " + answer).c_str());
    return;
  }
  // What went wrong with the last line typed belongs where its reply would be.
  static const char* const ERRORS[] = {"no function named", "no such function", "unknown step", "unknown key",
                                       "timed out waiting", "cannot ",          "init: ",       "call #"};
  for (const char* start : ERRORS) {
    if (text.compare(0, std::strlen(start), start) != 0) continue;
    SetWindowTextA(g_reply, ("Error: " + text).c_str());
    return;
  }
  static const char* const SHOWN[] = {"record committed",
                                      "lock warning \"",
                                      "lock warning gone",
                                      "window \"Please Login\"",
                                      "window \"Incorrect password\" appeared",
                                      "script \""};
  for (const char* start : SHOWN) {
    if (text.compare(0, std::strlen(start), start) != 0) continue;
    char line[640];  // an event script's parameter names who unlocked, up to 64 characters
    std::snprintf(line, sizeof line, "%7.1f s   %s", event.seconds, text.c_str());
    if (SendMessageA(g_events, LB_GETCOUNT, 0, 0) >= EVENTS_SHOWN) SendMessageA(g_events, LB_DELETESTRING, 0, 0);
    SendMessageA(g_events, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
    return;
  }
}

void RunCommandLine() {
  char line[512];
  GetWindowTextA(g_command, line, sizeof line);
  if (g_commandHandler) g_commandHandler(line);
}

// Enter in the command field calls the function written there.
LRESULT CALLBACK CommandFieldProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_KEYDOWN && wp == VK_RETURN) {
    RunCommandLine();
    return 0;
  }
  if (msg == WM_CHAR && wp == '\r') return 0;
  // Ctrl+A selects the whole line, as in most fields; its character is no text.
  if (msg == WM_KEYDOWN && wp == 'A' && GetKeyState(VK_CONTROL) < 0) {
    SendMessageA(hwnd, EM_SETSEL, 0, -1);
    return 0;
  }
  if (msg == WM_CHAR && wp == 1) return 0;
  return CallWindowProcA(g_commandProc, hwnd, msg, wp, lp);
}

}  // namespace

void AddCommandPanel(HWND main) {
  CreateChild("STATIC", "A function and its parameter (Lulx-ActivateRecordLullex 30) or a step (window Invoices):", 0,
              10, 205, 700, 20, main, 199);
  g_command =
      CreateChild("EDIT", "Lulx-Version", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 10, 228, 420, 24, main, IDC_COMMAND);
  CreateChild("BUTTON", "Call", WS_TABSTOP | BS_PUSHBUTTON, 440, 228, 80, 24, main, IDC_CALL);
  g_commandProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(g_command, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CommandFieldProc)));
  g_reply = CreateChild("STATIC", "Reply:", SS_NOPREFIX | SS_LEFTNOWORDWRAP, 10, 258, 700, 20, main, IDC_REPLY);
  CreateChild("STATIC", "Latest events:", 0, 10, 284, 520, 20, main, 204);
  g_events = CreateChild("LISTBOX", "", WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOSEL, 10, 306, 700, 120,
                         main, IDC_EVENTS);
  SetEventListener(ShowInWindow);
}

void CommandPanelCommand(int id) {
  if (id == IDC_CALL) RunCommandLine();
}

void ForgetCommandPanel() { g_command = g_reply = g_events = nullptr; }

void SetCommandHandler(void (*handler)(const std::string& line)) { g_commandHandler = handler; }

void RunCommand(const std::string& line) {
  SetWindowTextA(g_command, line.c_str());
  RunCommandLine();
}
