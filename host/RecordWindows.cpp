#include "RecordWindows.h"

#include <cstring>
#include <vector>

#include "RecordRules.h"
#include "Timeline.h"
#include "WindowClass.h"

namespace {

const char MAIN_WINDOW_NAME[] = "Contacts";

struct RecordWindow {
  HWND window, record;
  std::string name;
  bool edited;
};
std::vector<RecordWindow> g_recordWindows;
std::string g_mainClass;
HWND g_main;  // owns the card windows
WNDPROC g_editProc;
int g_commits;
bool g_logKeys = true;

RecordWindow* RecordWindowOf(HWND hwnd) {
  for (RecordWindow& w : g_recordWindows)
    if (w.window == hwnd || w.record == hwnd) return &w;
  return nullptr;
}

const char* ModifierText() {
  static char text[32];
  text[0] = '\0';
  if (GetKeyState(VK_CONTROL) < 0) std::strcat(text, "+ctrl");
  if (GetKeyState(VK_SHIFT) < 0) std::strcat(text, "+shift");
  if (GetKeyState(VK_MENU) < 0) std::strcat(text, "+alt");
  return text;
}

LRESULT CALLBACK RecordFieldProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  RecordWindow* window = RecordWindowOf(hwnd);
  const char* name = window ? window->name.c_str() : "?";
  switch (msg) {
    case WM_KEYDOWN:
      if (g_logKeys) Event("record key 0x%02X%s in \"%s\"", static_cast<unsigned>(wp), ModifierText(), name);
      if (wp == VK_RETURN && GetKeyState(VK_CONTROL) < 0) {
        std::string shown = name;
        bool edited = window && window->edited;
        bool commits = CommitGoesThrough(hwnd, shown, edited);
        window = RecordWindowOf(hwnd);  // the question's loop may have opened or closed windows
        name = window ? window->name.c_str() : "?";
        if (window) window->edited = edited;
        if (!commits) return 0;
        char text[256];
        GetWindowTextA(hwnd, text, sizeof text);
        ++g_commits;
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

HWND OpenRecordWindow(const std::string& name, const char* windowClass, DWORD style, HWND owner) {
  // Beside the main window, one below the other, so that a picture shows them all.
  int below = 60 * static_cast<int>(g_recordWindows.size() - 1);
  HWND window = CreateWindowExA(0, windowClass, ("FileMaker Pro - " + name).c_str(), style, 660, 60 + below, 480, 200,
                                owner, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (!window) return nullptr;
  CreateChild("STATIC", (name + " record").c_str(), 0, 20, 16, 300, 20, window, 103);
  HWND record = CreateChild("EDIT", "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 20, 50, 300, 24, window, 105);
  SetWindowLongPtrA(record, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordFieldProc));
  g_recordWindows.push_back({window, record, name, false});
  Event("window \"%s\" opened", name.c_str());
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  SetFocus(record);
  return window;
}

}  // namespace

void NoteEdit(WPARAM wp, LPARAM lp) {
  RecordWindow* window = RecordWindowOf(reinterpret_cast<HWND>(lp));
  if (window && HIWORD(wp) == EN_CHANGE) window->edited = true;
}

void WatchRecordWindows(const std::string& mainClass, bool logKeys) {
  g_mainClass = mainClass;
  g_logKeys = logKeys;
}

void AddMainRecordWindow(HWND main, HWND record) {
  g_main = main;
  g_editProc =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrA(record, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordFieldProc)));
  g_recordWindows.push_back({main, record, MAIN_WINDOW_NAME, false});
}

void ForgetMainRecordWindow(HWND main) {
  g_main = nullptr;
  if (!g_recordWindows.empty() && g_recordWindows[0].window == main) g_recordWindows.erase(g_recordWindows.begin());
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

HWND OpenDocumentWindow(const std::string& name) {
  return OpenRecordWindow(name, g_mainClass.c_str(), WS_OVERLAPPEDWINDOW, nullptr);
}

HWND OpenCardWindow(const std::string& name) {
  return OpenRecordWindow(name, CARD_WINDOW_CLASS, WS_POPUP | WS_CAPTION | WS_SYSMENU, g_main);
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

int CommitCount() { return g_commits; }

int RecordOpenState() {
  RecordWindow* w = RecordWindowOf(GetForegroundWindow());
  if (!w && !g_recordWindows.empty()) w = &g_recordWindows[0];
  return w && w->edited ? 2 : 0;
}

void ForgetEdits() {
  for (RecordWindow& w : g_recordWindows) w.edited = false;
}
