#include "LockWindows.h"

#include <cstring>
#include <vector>

#include "Timeline.h"
#include "resources/ResourceIds.h"

namespace {

bool IsDialogOfThisProcess(HWND hwnd) {
  DWORD process = 0;
  GetWindowThreadProcessId(hwnd, &process);
  char name[16];
  return process == GetCurrentProcessId() && IsWindowVisible(hwnd) && GetClassNameA(hwnd, name, sizeof name) &&
         std::strcmp(name, "#32770") == 0;
}

struct Search {
  int childId;
  HWND owner;
  HWND found;
};

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM param) {
  Search& search = *reinterpret_cast<Search*>(param);
  if (!IsDialogOfThisProcess(hwnd)) return TRUE;
  bool match = search.owner ? GetWindow(hwnd, GW_OWNER) == search.owner : GetDlgItem(hwnd, search.childId) != nullptr;
  if (!match) return TRUE;
  search.found = hwnd;
  return FALSE;
}

HWND FindDialogWith(int childId, HWND owner) {
  Search search = {childId, owner, nullptr};
  EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string ClassOf(HWND hwnd) {
  char name[64] = "";
  GetClassNameA(hwnd, name, sizeof name);
  return name;
}

// Line breaks as \r and \n, so that each window stays on one line.
std::string OnOneLine(const std::string& text) {
  std::string out;
  for (char c : text) out += c == '\r' ? "\\r" : c == '\n' ? "\\n" : std::string(1, c);
  return out;
}

BOOL CALLBACK CollectChild(HWND child, LPARAM param) {
  if (IsWindowVisible(child)) reinterpret_cast<std::vector<HWND>*>(param)->push_back(child);
  return TRUE;
}

RECT RectIn(HWND window, HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// What a control's text needs, drawn as the control draws it, where that is
// more than it has; "" where it fits or the control shows no text of its own.
std::string TextNeeds(HWND control) {
  std::string kind = ClassOf(control);
  bool isStatic = lstrcmpiA(kind.c_str(), "Static") == 0, isButton = lstrcmpiA(kind.c_str(), "Button") == 0;
  LONG style = GetWindowLongA(control, GWL_STYLE);
  if ((!isStatic && !isButton) || (isStatic && (style & SS_TYPEMASK) > SS_RIGHT)) return "";
  wchar_t text[1024] = L"";
  if (GetWindowTextW(control, text, 1024) == 0) return "";
  RECT client;
  GetClientRect(control, &client);
  const int BUTTON_EDGES = 6;  // a push button draws its word inside its frame
  int room = isButton ? client.right - BUTTON_EDGES : client.right;
  UINT flags = DT_CALCRECT | DT_EXPANDTABS | (isButton ? DT_SINGLELINE : DT_WORDBREAK);
  if (isStatic && (style & SS_NOPREFIX)) flags |= DT_NOPREFIX;
  if (isStatic && (style & SS_EDITCONTROL)) flags |= DT_EDITCONTROL;
  RECT need = {0, 0, room, 0};
  HDC dc = GetDC(control);
  HGDIOBJ before = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
  DrawTextW(dc, text, -1, &need, flags);
  SelectObject(dc, before);
  ReleaseDC(control, dc);
  if (need.right <= room && need.bottom <= client.bottom) return "";
  char line[128];
  std::snprintf(line, sizeof line, "%d needs %ldx%ld px, has %dx%ld", GetDlgCtrlID(control), need.right, need.bottom,
                room, client.bottom);
  return line;
}

void LogWindow(const char* role, HWND window) {
  std::vector<HWND> children;
  EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
  std::string texts = "title \"" + TextOf(window) + "\"";
  std::string problems;
  RECT client;
  GetClientRect(window, &client);
  for (size_t i = 0; i < children.size(); ++i) {
    HWND child = children[i];
    int id = GetDlgCtrlID(child);
    std::string kind = ClassOf(child);
    if (lstrcmpiA(kind.c_str(), "Edit") != 0 && lstrcmpiA(kind.c_str(), "ComboBox") != 0 && !TextOf(child).empty())
      texts += " | " + std::to_string(id) + " \"" + OnOneLine(TextOf(child)) + "\"";
    std::string needs = TextNeeds(child);
    if (!needs.empty()) problems += "; " + needs;
    RECT r = RectIn(window, child), both;
    if (r.left < 0 || r.top < 0 || r.right > client.right || r.bottom > client.bottom)
      problems += "; " + std::to_string(id) + " outside its window";
    for (size_t j = i + 1; j < children.size(); ++j) {
      RECT other = RectIn(window, children[j]);
      if (IntersectRect(&both, &r, &other))
        problems += "; " + std::to_string(id) + " overlaps " + std::to_string(GetDlgCtrlID(children[j]));
    }
  }
  RECT frame;
  GetWindowRect(window, &frame);
  if (frame.left < GetSystemMetrics(SM_XVIRTUALSCREEN) || frame.top < GetSystemMetrics(SM_YVIRTUALSCREEN) ||
      frame.right > GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN) ||
      frame.bottom > GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN))
    problems += "; off the screen";
  Event("lock texts of %s: %s", role, texts.c_str());
  Event("lock layout of %s %ldx%ld px: %s", role, frame.right - frame.left, frame.bottom - frame.top,
        problems.empty() ? "every text fits, nothing overlaps" : problems.substr(2).c_str());
}

}  // namespace

HWND FindLogin() { return FindDialogWith(IDC_PASSWORD, nullptr); }
HWND FindRefusal(HWND login) { return login ? FindDialogWith(0, login) : nullptr; }
HWND FindLockWarning() { return FindDialogWith(IDC_WARNING_COUNTDOWN, nullptr); }

bool IsLockBackdrop(HWND hwnd) {
  return IsDialogOfThisProcess(hwnd) && GetWindowTextLengthW(hwnd) == 0 && hwnd != FindLockWarning();
}

std::string TextOf(HWND window) {
  wchar_t text[1024] = L"";
  GetWindowTextW(window, text, 1024);
  char out[4096] = "";
  WideCharToMultiByte(CP_UTF8, 0, text, -1, out, sizeof out, nullptr, nullptr);
  return out;
}

std::string FirstStaticText(HWND window) {
  std::vector<HWND> children;
  if (window) EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
  for (HWND child : children)
    if (lstrcmpiA(ClassOf(child).c_str(), "Static") == 0 && !TextOf(child).empty()) return TextOf(child);
  return "";
}

void LogLockWindows() {
  HWND login = FindLogin(), refusal = FindRefusal(login), warning = FindLockWarning();
  if (!login && !warning) Event("lock texts: no lock window is up");
  if (warning) LogWindow("notice", warning);
  if (login) LogWindow("login", login);
  if (refusal) LogWindow("refusal", refusal);
}
