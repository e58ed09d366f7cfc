#include "Script.h"

#include <windows.h>
// After windows.h:
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "HostWindow.h"
#include "LockWindows.h"
#include "MemoryScan.h"
#include "OtherApplication.h"
#include "PluginHost.h"
#include "Screenshot.h"
#include "Timeline.h"
#include "TimelineSvg.h"
#include "TypedInput.h"

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

std::string Unescape(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x') {
      out += static_cast<char>(std::strtol(text.substr(i + 2, 2).c_str(), nullptr, 16));
      i += 3;
    } else {
      out += text[i];
    }
  }
  return out;
}

void SplitFirst(const std::string& text, std::string& first, std::string& rest) {
  size_t space = text.find(' ');
  first = text.substr(0, space);
  rest = space == std::string::npos ? "" : text.substr(space + 1);
}

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

std::string ThisProgram() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

void Activate(HWND hwnd) {
  if (IsIconic(hwnd)) ShowWindow(hwnd, SW_RESTORE);
  SetForegroundWindow(hwnd);
  SetActiveWindow(hwnd);
}

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
  Event("script finished%s", g_failures ? " with failures" : "");
  PostQuitMessage(g_failures ? 1 : 0);
}

enum class StepResult { Done, Quit, Unknown };

void WaitFor(DWORD ms, const std::string& text, bool sinceTheStart = false) {
  g_waitText = text;
  g_waitFrom = sinceTheStart ? 0 : EventCount();
  g_waitUntil = GetTickCount() + ms;
  g_waitUntil += g_waitUntil == 0;
}

// Runs one step; a wait step only sets the wait that RunSteps honours.
std::string Utf8Of(const wchar_t* text) {
  char out[512] = "";
  WideCharToMultiByte(CP_UTF8, 0, text, -1, out, sizeof out, nullptr, nullptr);
  return out;
}

// At a shared desk: prints the login's list of who unlocks, with the entry
// shown, and chooses the entry `name` in it.
void ChooseLoginEntry(const std::string& name) {
  HWND login = FindLogin();
  HWND list = login ? FindWindowExA(login, nullptr, "ComboBox", nullptr) : nullptr;
  if (!list) return Event("user chooses \"%s\": the login has no list", name.c_str());
  std::string entries;
  int count = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    wchar_t entry[256] = L"";
    if (SendMessageW(list, CB_GETLBTEXTLEN, i, 0) < 256)
      SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(entry));
    entries += (i ? " | " : "") + Utf8Of(entry);
  }
  wchar_t shown[256] = L"";
  GetWindowTextW(list, shown, 256);
  wchar_t wanted[256] = L"";
  MultiByteToWideChar(CP_UTF8, 0, name.c_str(), -1, wanted, 256);
  LRESULT at = SendMessageW(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(wanted));
  if (at != CB_ERR) SendMessageW(list, CB_SETCURSEL, at, 0);
  Event("user chooses \"%s\" in the login's list [%s], shown \"%s\": %s", name.c_str(), entries.c_str(),
        Utf8Of(shown).c_str(), at == CB_ERR ? "no such entry" : "chosen");
}

// At a shared desk: "open" puts the focus in the login's list of who unlocks
// and opens it, as a click does; without it, prints whether its drop-down is
// shown, the box says it is dropped, and the box has the focus.
void NameListStep(const std::string& what) {
  HWND login = FindLogin();
  HWND box = login ? FindWindowExA(login, nullptr, "ComboBox", nullptr) : nullptr;
  if (!box) return Event("name list: the login has no list");
  if (what == "open") {
    SetFocus(box);
    SendMessageW(box, CB_SHOWDROPDOWN, TRUE, 0);
    return Event("user opens the login's name list");
  }
  COMBOBOXINFO info = {};
  info.cbSize = sizeof info;
  GetComboBoxInfo(box, &info);
  bool shown = info.hwndList && IsWindowVisible(info.hwndList);
  bool dropped = SendMessageW(box, CB_GETDROPPEDSTATE, 0, 0) != 0;
  bool focused = GetFocus() == box;
  Event("name list: drop-down %s, %s, focus %s", shown ? "shown" : "hidden", dropped ? "dropped" : "not dropped",
        focused ? "in the box" : "elsewhere");
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
                            {"connect", 1, "the console connects to the session"}};
  for (const Change& c : CHANGES) {
    if (what != c.name) continue;
    Event("%s", c.says);
    SessionNotice notice = {GetCurrentProcessId(), SESSION_CHANGE, c.code};
    EnumWindows(SendToOwnWindow, reinterpret_cast<LPARAM>(&notice));
    return;
  }
  Event("unknown session change %s", what.c_str());
}

// Another program posts the login's wait timer's messages to it.
void PostLoginTimer(int count) {
  const UINT_PTR LOGIN_WAIT_TIMER_ID = 1140;
  HWND login = FindLogin();
  for (int i = 0; login && i < count; ++i) PostMessageW(login, WM_TIMER, LOGIN_WAIT_TIMER_ID, 0);
  Event("another program posts %d WM_TIMER %u to the login", login ? count : 0,
        static_cast<unsigned>(LOGIN_WAIT_TIMER_ID));
}

StepResult RunStep(const std::string& line) {
  std::string command, rest;
  SplitFirst(line, command, rest);
  if (command.empty() || command[0] == '#') return StepResult::Done;
  if (command == "modern") return PlaysModernFileMaker() ? RunStep(rest) : StepResult::Done;
  if (command == "say") {
    Event("-- %s", rest.c_str());
  } else if (command == "init") {
    InitCall();
  } else if (command == "command") {
    RunCommand(rest);
  } else if (command == "shutdown") {
    ShutdownCall();
  } else if (command == "unload") {
    // As FileMaker does, from the host's own loop: never inside a modal loop
    // of the plug-in, whose code would then return into nothing.
    g_unloadRequested = true;
    WaitFor(10000, "plug-in unloaded");
  } else if (command == "load") {
    ReloadPlugin();
  } else if (command == "destroymain") {
    DestroyMainWindow();
  } else if (command == "hostbox") {
    OpenHostBox();
  } else if (command == "endhostbox") {
    CloseHostBox();
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
  } else if (command == "failresize") {
    SetResizeFails(rest == "on");
  } else if (command == "wait") {
    WaitFor(static_cast<DWORD>(std::atol(rest.c_str())), "");
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
  } else if (command == "session") {
    SessionStep(rest);
  } else if (command == "waitfor" || command == "waitseen") {
    std::string ms, text;
    SplitFirst(rest, ms, text);
    WaitFor(static_cast<DWORD>(std::atol(ms.c_str())), text, command == "waitseen");
  } else if (command == "move") {
    int x = 0, y = 0;
    std::sscanf(rest.c_str(), "%d %d", &x, &y);
    Event("user moves the mouse to %d, %d", x, y);
    SetCursorPos(x, y);
  } else if (command == "type") {
    Event("user types \"%s\"", rest.c_str());
    TypeText(Unescape(rest));
  } else if (command == "memscan") {
    Event("memory holds %d copies of \"%s\" in UTF-16", CountUtf16CopiesInMemory(rest), rest.c_str());
  } else if (command == "lockwindows") {
    LogLockWindows();
  } else if (command == "namelist") {
    NameListStep(rest);
  } else if (command == "posttimer") {
    PostLoginTimer(std::atoi(rest.c_str()));
  } else if (command == "postquit") {
    // As another program may: the loop running now, whichever it is, gets it first.
    int code = std::atoi(rest.c_str());
    Event("WM_QUIT %d posted to the host's thread", code);
    g_quitPosted = true;
    PostQuitMessage(code);
  } else if (command == "choose") {
    ChooseLoginEntry(Unescape(rest));
  } else if (command == "key") {
    Event("user presses %s", rest.c_str());
    PressNamedKey(rest);
  } else if (command == "focus") {
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
  } else if (command == "shot") {
    std::string path = g_shots + "\\" + rest + ".png";
    if (SaveScreenshot(path)) Event("screenshot %s.png", rest.c_str());
  } else if (command == "timeline") {
    std::string path = g_shots + "\\" + rest + ".svg";
    if (SaveTimelineSvg(path)) Event("timeline %s.svg", rest.c_str());
  } else if (command == "functions") {
    std::vector<std::string> list = FunctionList();
    for (const std::string& f : list) Event("function %s", f.c_str());
    ShowFunctionList(list);
  } else if (command == "endfunctions") {
    ShowFunctionList({});
  } else if (command == "quit") {
    return StepResult::Quit;
  } else {
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
