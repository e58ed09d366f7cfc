#include "HostWindow.h"

#include <cstdio>
#include <cstring>

#include "LockWindows.h"
#include "PluginHost.h"
#include "PluginLibrary.h"
#include "Timeline.h"
#include "WindowClass.h"
#include "resources/ResourceIds.h"

namespace {

const UINT WM_OPEN_MENU = WM_APP + 1;
const UINT WM_OPEN_BOX = WM_APP + 2;
const char HOST_BOX_TITLE[] = "Delete Record";
const char MAIN_WINDOW_NAME[] = "Contacts";
// Today's FileMaker gives card windows a top-level window too; its class is not
// known, so the stand-in's is one Lullex cannot take for a document window.
const char CARD_CLASS[] = "FMHostCardWindow";
const UINT_PTR WATCH_TIMER = 1;
const int IDC_COMMAND = 200;
const int IDC_CALL = 201;
const int IDC_REPLY = 202;
const int IDC_EVENTS = 203;
const int EVENTS_SHOWN = 8;

HWND g_main, g_record, g_inner, g_command, g_reply, g_events;
WNDPROC g_editProc, g_commandProc;
int g_commits;

// Every window with a record: the main window ("Contacts") first, then the
// document and card windows a script opens, as today's FileMaker opens them.
struct RecordWindow {
  HWND window, record;
  std::string name;
  bool edited;
};
std::vector<RecordWindow> g_recordWindows;
std::string g_mainClass;

RecordWindow* RecordWindowOf(HWND hwnd) {
  for (RecordWindow& w : g_recordWindows)
    if (w.window == hwnd || w.record == hwnd) return &w;
  return nullptr;
}
HHOOK g_menuHook;
bool g_loginShown, g_deniedShown;
int g_backdrops, g_logins;
std::string g_warningShown;
bool g_logKeys = true;
void (*g_commandHandler)(const std::string& line);

const char* ModifierText() {
  static char text[32];
  text[0] = '\0';
  if (GetKeyState(VK_CONTROL) < 0) std::strcat(text, "+ctrl");
  if (GetKeyState(VK_SHIFT) < 0) std::strcat(text, "+shift");
  if (GetKeyState(VK_MENU) < 0) std::strcat(text, "+alt");
  return text;
}

// A record field's parent hears of each change: the record is then edited.
void NoteEdit(WPARAM wp, LPARAM lp) {
  RecordWindow* window = RecordWindowOf(reinterpret_cast<HWND>(lp));
  if (window && HIWORD(wp) == EN_CHANGE) window->edited = true;
}

LRESULT CALLBACK RecordFieldProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  RecordWindow* window = RecordWindowOf(hwnd);
  const char* name = window ? window->name.c_str() : "?";
  switch (msg) {
    case WM_KEYDOWN:
      if (g_logKeys) Event("record key 0x%02X%s in \"%s\"", static_cast<unsigned>(wp), ModifierText(), name);
      if (wp == VK_RETURN && GetKeyState(VK_CONTROL) < 0) {
        char text[256];
        GetWindowTextA(hwnd, text, sizeof text);
        ++g_commits;
        bool edited = window && window->edited;
        Event("record committed #%d (%s): \"%s\" in \"%s\"", g_commits, edited ? "edited" : "unchanged", text, name);
        if (window) window->edited = false;
        return 0;
      }
      break;
    case WM_KEYUP:
      if (g_logKeys) Event("record key up 0x%02X%s in \"%s\"", static_cast<unsigned>(wp), ModifierText(), name);
      break;
    case WM_CHAR:
      if (wp == '\n' || wp == '\r') return 0;  // Ctrl+Enter is a command, not text
      break;
    default:
      break;
  }
  return CallWindowProcA(g_editProc, hwnd, msg, wp, lp);
}

void RunCommandLine();

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

LRESULT CALLBACK InnerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_KEYDOWN)
    Event("innermost child got key 0x%02X lParam %ld", static_cast<unsigned>(wp), static_cast<long>(lp));
  if (msg == WM_COMMAND) NoteEdit(wp, lp);
  return DefWindowProcA(hwnd, msg, wp, lp);
}

LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcA(hwnd, msg, wp, lp); }

// Sees what is sent to the open menu's window.
LRESULT CALLBACK MenuMessageHook(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION) {
    const CWPSTRUCT* m = reinterpret_cast<const CWPSTRUCT*>(lp);
    char name[64];
    if (m->message == WM_KEYDOWN && GetClassNameA(m->hwnd, name, sizeof name) && std::strcmp(name, "#32768") == 0)
      Event("menu window got key 0x%02X lParam %ld", static_cast<unsigned>(m->wParam), static_cast<long>(m->lParam));
  }
  return CallNextHookEx(g_menuHook, code, wp, lp);
}

struct LockWindows {
  int backdrops = 0, logins = 0;
};

// The lock's windows: the login, and the backdrop as a visible, untitled dialog
// window of ours.
BOOL CALLBACK CountLockWindows(HWND hwnd, LPARAM param) {
  LockWindows* count = reinterpret_cast<LockWindows*>(param);
  if (hwnd == FindLogin())
    ++count->logins;
  else if (IsLockBackdrop(hwnd))
    ++count->backdrops;
  return TRUE;
}

// The notice before the lock: its countdown, and whether it took the focus.
void WatchLockWarning(HWND warning) {
  std::string text = FirstStaticText(warning);
  if (text == g_warningShown) return;
  if (!warning) {
    Event("lock warning gone");
  } else {
    RECT r, area;
    GetWindowRect(warning, &r);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    bool active = GetForegroundWindow() == warning || GetActiveWindow() == warning;
    Event("lock warning \"%s\" %s, %ld px from the right and %ld px from the bottom of the work area", text.c_str(),
          active ? "active" : "not active", area.right - r.right, area.bottom - r.bottom);
  }
  g_warningShown = text;
}

// The login's prompt, which counts a wait down after wrong passwords, and
// whether its password field takes typing.
void WatchLoginPrompt(HWND login) {
  static std::string shown;
  std::string text;
  if (login) {
    bool enabled = IsWindowEnabled(GetDlgItem(login, IDC_PASSWORD));
    text = TextOf(GetDlgItem(login, IDC_LOGIN_PROMPT)) + (enabled ? "\", field enabled" : "\", field disabled");
  }
  if (text == shown) return;
  if (login) Event("login prompt \"%s", text.c_str());
  shown = text;
}

// Whatever language the lock speaks, its windows keep these names here.
void WatchLockScreen() {
  LockWindows count;
  EnumWindows(CountLockWindows, reinterpret_cast<LPARAM>(&count));
  if (count.backdrops != g_backdrops || count.logins != g_logins)
    Event("lock windows: %d backdrop, %d login", count.backdrops, count.logins);
  g_backdrops = count.backdrops;
  g_logins = count.logins;
  WatchLockWarning(FindLockWarning());
  HWND login = FindLogin();
  bool shown = login != nullptr;
  if (shown != g_loginShown) Event(shown ? "window \"Please Login\" appeared" : "window \"Please Login\" gone");
  g_loginShown = shown;
  WatchLoginPrompt(login);
  HWND denied = FindRefusal(login);
  shown = denied != nullptr;
  if (shown != g_deniedShown) {
    if (shown)
      Event("window \"Incorrect password\" appeared: \"%s\"", FirstStaticText(denied).c_str());
    else
      Event("window \"Incorrect password\" gone");
  }
  g_deniedShown = shown;
}

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

// A document or card window: what the main window logs, under its own name.
LRESULT CALLBACK DocumentProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  RecordWindow* window = RecordWindowOf(hwnd);
  const char* name = window ? window->name.c_str() : "?";
  switch (msg) {
    case WM_SETFOCUS:
      if (window) SetFocus(window->record);
      return 0;
    case WM_ACTIVATE:
      Event("window \"%s\" %s", name, LOWORD(wp) == WA_INACTIVE ? "inactive" : "active");
      break;
    case WM_WINDOWPOSCHANGED: {
      const WINDOWPOS* pos = reinterpret_cast<const WINDOWPOS*>(lp);
      if (pos->flags & SWP_HIDEWINDOW) Event("window \"%s\" hidden", name);
      if (pos->flags & SWP_SHOWWINDOW) Event("window \"%s\" shown", name);
      break;
    }
    case WM_COMMAND:
      NoteEdit(wp, lp);
      break;
    case WM_DESTROY:
      Event("window \"%s\" closed", name);
      for (size_t i = 0; i < g_recordWindows.size(); ++i)
        if (g_recordWindows[i].window == hwnd) g_recordWindows.erase(g_recordWindows.begin() + i);
      break;
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (g_main && hwnd != g_main) return DocumentProc(hwnd, msg, wp, lp);
  switch (msg) {
    case WM_SETFOCUS:
      // Like FileMaker Pro, keep the keyboard in the record being edited.
      if (g_record) SetFocus(g_record);
      return 0;
    case WM_ACTIVATE:
      Event(LOWORD(wp) == WA_INACTIVE ? "main window inactive" : "main window active");
      break;
    case WM_WINDOWPOSCHANGED: {
      const WINDOWPOS* pos = reinterpret_cast<const WINDOWPOS*>(lp);
      if (pos->flags & SWP_HIDEWINDOW) Event("main window hidden");
      if (pos->flags & SWP_SHOWWINDOW) Event("main window shown");
      break;
    }
    case WM_SIZE:
      if (wp == SIZE_MINIMIZED) Event("main window minimised");
      break;
    case WM_TIMER:
      if (wp == WATCH_TIMER) WatchLockScreen(), WatchFreedPlugin();
      return 0;
    case WM_OPEN_MENU: {
      HMENU menu = CreatePopupMenu();
      AppendMenuA(menu, MF_STRING, 1, "New Record");
      AppendMenuA(menu, MF_STRING, 2, "Delete Record");
      Event("menu opened");
      g_menuHook = SetWindowsHookExA(WH_CALLWNDPROC, MenuMessageHook, nullptr, GetCurrentThreadId());
      SetForegroundWindow(hwnd);
      TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN, 120, 120, 0, hwnd, nullptr);
      UnhookWindowsHookEx(g_menuHook);
      DestroyMenu(menu);
      Event("menu closed");
      return 0;
    }
    case WM_OPEN_BOX: {
      // Like FileMaker Pro's own confirmations: modal, OK is the default button.
      Event("host box opened");
      int answer = MessageBoxA(hwnd, "Delete this record?", HOST_BOX_TITLE, MB_OKCANCEL | MB_ICONQUESTION);
      Event("host box answered %s", answer == IDOK ? "OK" : answer == IDCANCEL ? "Cancel" : "something else");
      return 0;
    }
    case WM_COMMAND:
      if (LOWORD(wp) == IDC_CALL) RunCommandLine();
      break;
    case WM_CLOSE:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

ATOM Register(const char* name, WNDPROC proc) {
  return RegisterWindowClass(name, proc, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
}

HWND Child(const char* cls, const char* text, DWORD style, int x, int y, int w, int h, HWND parent, int id) {
  return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

}  // namespace

bool CreateHostWindows(const HostWindowOptions& options) {
  g_logKeys = options.logKeys;
  g_mainClass = options.mainClass;
  if (!Register(options.mainClass.c_str(), MainProc) || !Register("FMHostPanel", PanelProc) ||
      !Register(options.innerClass.c_str(), InnerProc) || !Register(CARD_CLASS, DocumentProc))
    return false;
  int height = options.interactive ? 470 : 260;
  g_main = CreateWindowExA(0, options.mainClass.c_str(), "FileMaker Pro - Contacts (Lullex host stand-in)",
                           WS_OVERLAPPEDWINDOW, 60, 60, options.interactive ? 740 : 560, height, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  if (!g_main) return false;
  // First children three deep: panel, panel, then the area holding the record.
  HWND panel = Child("FMHostPanel", "", 0, 0, 0, 560, 200, g_main, 100);
  HWND panel2 = Child("FMHostPanel", "", 0, 0, 0, 560, 200, panel, 101);
  g_inner = Child(options.innerClass.c_str(), "", 0, 0, 0, 560, 200, panel2, 102);
  Child("STATIC", "Contact record", 0, 20, 16, 300, 20, g_inner, 103);
  Child("STATIC", "Name:", 0, 20, 52, 60, 20, g_inner, 104);
  g_record = Child("EDIT", "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 90, 50, 300, 24, g_inner, 105);
  Child("STATIC", "Ctrl+Enter commits the record.", 0, 20, 90, 400, 20, g_inner, 106);
  g_editProc =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrA(g_record, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordFieldProc)));
  g_recordWindows.push_back({g_main, g_record, MAIN_WINDOW_NAME, false});
  if (options.interactive) {
    Child("STATIC", "A function and its parameter (Lulx-ActivateRecordLullex 30) or a step (window Invoices):", 0, 10,
          205, 700, 20, g_main, 199);
    g_command =
        Child("EDIT", "Lulx-Version", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 10, 228, 420, 24, g_main, IDC_COMMAND);
    Child("BUTTON", "Call", WS_TABSTOP | BS_PUSHBUTTON, 440, 228, 80, 24, g_main, IDC_CALL);
    g_commandProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(g_command, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CommandFieldProc)));
    g_reply = Child("STATIC", "Reply:", SS_NOPREFIX | SS_LEFTNOWORDWRAP, 10, 258, 700, 20, g_main, IDC_REPLY);
    Child("STATIC", "Latest events:", 0, 10, 284, 520, 20, g_main, 204);
    g_events = Child("LISTBOX", "", WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOSEL, 10, 306, 700, 120,
                     g_main, IDC_EVENTS);
    SetEventListener(ShowInWindow);
  }
  ShowWindow(g_main, SW_SHOW);
  UpdateWindow(g_main);
  SetForegroundWindow(g_main);
  SetFocus(g_record);
  SetTimer(g_main, WATCH_TIMER, 50, nullptr);
  return true;
}

HWND MainWindow() { return g_main; }

void SetCommandHandler(void (*handler)(const std::string& line)) { g_commandHandler = handler; }

void RunCommand(const std::string& line) {
  SetWindowTextA(g_command, line.c_str());
  RunCommandLine();
}
HWND RecordField() { return g_record; }

void OpenHostBox() { PostMessageA(g_main, WM_OPEN_BOX, 0, 0); }

void CloseHostBox() {
  HWND box = FindWindowA(nullptr, HOST_BOX_TITLE);
  if (box) PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
}

namespace {

HWND OpenRecordWindow(const std::string& name, const char* windowClass, DWORD style, HWND owner) {
  // Beside the main window, one below the other, so that a picture shows them all.
  int below = 60 * static_cast<int>(g_recordWindows.size() - 1);
  HWND window = CreateWindowExA(0, windowClass, ("FileMaker Pro - " + name).c_str(), style, 660, 60 + below, 480, 200,
                                owner, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (!window) return nullptr;
  Child("STATIC", (name + " record").c_str(), 0, 20, 16, 300, 20, window, 103);
  HWND record = Child("EDIT", "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 20, 50, 300, 24, window, 105);
  SetWindowLongPtrA(record, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordFieldProc));
  g_recordWindows.push_back({window, record, name, false});
  Event("window \"%s\" opened", name.c_str());
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  SetFocus(record);
  return window;
}

}  // namespace

HWND OpenDocumentWindow(const std::string& name) {
  return OpenRecordWindow(name, g_mainClass.c_str(), WS_OVERLAPPEDWINDOW, nullptr);
}

HWND OpenCardWindow(const std::string& name) {
  return OpenRecordWindow(name, CARD_CLASS, WS_POPUP | WS_CAPTION | WS_SYSMENU, g_main);
}

HWND RecordWindowNamed(const std::string& name) {
  for (const RecordWindow& w : g_recordWindows)
    if (w.name == name) return w.window;
  return nullptr;
}

HWND RecordFieldOf(HWND window) {
  RecordWindow* w = RecordWindowOf(window);
  return w ? w->record : nullptr;
}

void LogVisibleWindows() {
  std::string list;
  HWND active = GetForegroundWindow();
  // Top-level windows come top first; only the stand-in's record windows count.
  for (HWND hwnd = GetTopWindow(nullptr); hwnd; hwnd = GetWindow(hwnd, GW_HWNDNEXT)) {
    RecordWindow* w = RecordWindowOf(hwnd);
    if (!w || w->window != hwnd || !IsWindowVisible(hwnd)) continue;
    list += (list.empty() ? "\"" : ", \"") + w->name + "\"" + (hwnd == active ? " active" : "");
  }
  Event("windows: %s", list.empty() ? "none" : list.c_str());
}

void DestroyMainWindow() {
  DestroyWindow(g_main);
  if (!g_recordWindows.empty() && g_recordWindows[0].window == g_main) g_recordWindows.erase(g_recordWindows.begin());
  g_main = g_record = g_inner = g_command = nullptr;
  Event("main window destroyed");
}

void OpenPopupMenu() { PostMessageA(g_main, WM_OPEN_MENU, 0, 0); }

int CommitCount() { return g_commits; }

void ShowFunctionList(const std::vector<std::string>& lines) {
  static HWND list;
  if (list) DestroyWindow(GetParent(list));
  list = nullptr;
  if (lines.empty()) return;
  Register("FMHostFunctionList", DefWindowProcA);
  HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, "FMHostFunctionList", "Specify Calculation: External Functions",
                                WS_POPUP | WS_CAPTION | WS_VISIBLE, 80, 340, 1000, 250, g_main, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  list = Child("LISTBOX", "", WS_BORDER | WS_VSCROLL | WS_HSCROLL | LBS_NOINTEGRALHEIGHT, 8, 8, 976, 200, window, 1);
  SendMessageA(list, LB_SETHORIZONTALEXTENT, 1200, 0);
  for (const std::string& line : lines) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
  Event("window \"Specify Calculation: External Functions\" lists %u functions", static_cast<unsigned>(lines.size()));
}
