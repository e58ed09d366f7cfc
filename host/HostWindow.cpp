#include "HostWindow.h"

#include <cstring>

#include "CommandPanel.h"
#include "LockScreenWatch.h"
#include "PluginHost.h"
#include "PluginLibrary.h"
#include "RecordWindows.h"
#include "Timeline.h"
#include "WindowClass.h"
#include "resources/ResourceIds.h"

namespace {

const UINT WM_OPEN_MENU = WM_APP + 1;
const UINT WM_OPEN_BOX = WM_APP + 2;
const char HOST_BOX_TITLE[] = "Delete Record";
const UINT_PTR WATCH_TIMER = 1;

HWND g_main, g_record, g_inner;

HHOOK g_menuHook;

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
      CommandPanelCommand(LOWORD(wp));
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

}  // namespace

bool CreateHostWindows(const HostWindowOptions& options) {
  WatchRecordWindows(options.mainClass, options.logKeys);
  if (!Register(options.mainClass.c_str(), MainProc) || !Register("FMHostPanel", PanelProc) ||
      !Register(options.innerClass.c_str(), InnerProc) || !Register(CARD_WINDOW_CLASS, DocumentProc))
    return false;
  int height = options.interactive ? 470 : 260;
  g_main = CreateWindowExA(0, options.mainClass.c_str(), "FileMaker Pro - Contacts (Lullex host stand-in)",
                           WS_OVERLAPPEDWINDOW, 60, 60, options.interactive ? 740 : 560, height, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  if (!g_main) return false;
  // First children three deep: panel, panel, then the area holding the record.
  HWND panel = CreateChild("FMHostPanel", "", 0, 0, 0, 560, 200, g_main, 100);
  HWND panel2 = CreateChild("FMHostPanel", "", 0, 0, 0, 560, 200, panel, 101);
  g_inner = CreateChild(options.innerClass.c_str(), "", 0, 0, 0, 560, 200, panel2, 102);
  CreateChild("STATIC", "Contact record", 0, 20, 16, 300, 20, g_inner, 103);
  CreateChild("STATIC", "Name:", 0, 20, 52, 60, 20, g_inner, 104);
  g_record = CreateChild("EDIT", "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 90, 50, 300, 24, g_inner, 105);
  CreateChild("STATIC", "Ctrl+Enter commits the record.", 0, 20, 90, 400, 20, g_inner, 106);
  AddMainRecordWindow(g_main, g_record);
  if (options.interactive) AddCommandPanel(g_main);
  ShowWindow(g_main, SW_SHOW);
  UpdateWindow(g_main);
  SetForegroundWindow(g_main);
  SetFocus(g_record);
  SetTimer(g_main, WATCH_TIMER, 50, nullptr);
  return true;
}

HWND MainWindow() { return g_main; }

HWND RecordField() { return g_record; }

void OpenHostBox() { PostMessageA(g_main, WM_OPEN_BOX, 0, 0); }

void CloseHostBox() {
  HWND box = FindWindowA(nullptr, HOST_BOX_TITLE);
  if (box) PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
}

void DestroyMainWindow() {
  DestroyWindow(g_main);
  ForgetMainRecordWindow(g_main);
  g_main = g_record = g_inner = nullptr;
  ForgetCommandPanel();
  Event("main window destroyed");
}

void OpenPopupMenu() { PostMessageA(g_main, WM_OPEN_MENU, 0, 0); }

void ShowFunctionList(const std::vector<std::string>& lines) {
  static HWND list;
  if (list) DestroyWindow(GetParent(list));
  list = nullptr;
  if (lines.empty()) return;
  Register("FMHostFunctionList", DefWindowProcA);
  HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, "FMHostFunctionList", "Specify Calculation: External Functions",
                                WS_POPUP | WS_CAPTION | WS_VISIBLE, 80, 340, 1000, 250, g_main, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  list =
      CreateChild("LISTBOX", "", WS_BORDER | WS_VSCROLL | WS_HSCROLL | LBS_NOINTEGRALHEIGHT, 8, 8, 976, 200, window, 1);
  SendMessageA(list, LB_SETHORIZONTALEXTENT, 1200, 0);
  for (const std::string& line : lines) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
  Event("window \"Specify Calculation: External Functions\" lists %u functions", static_cast<unsigned>(lines.size()));
}
