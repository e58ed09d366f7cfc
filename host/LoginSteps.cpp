#include "LoginSteps.h"

#include <windows.h>

#include <cstdlib>

#include "LockWindows.h"
#include "MemoryScan.h"
#include "Timeline.h"

namespace {

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

// Another program posts the login's wait timer's messages to it.
void PostLoginTimer(int count) {
  const UINT_PTR LOGIN_WAIT_TIMER_ID = 1140;
  HWND login = FindLogin();
  for (int i = 0; login && i < count; ++i) PostMessageW(login, WM_TIMER, LOGIN_WAIT_TIMER_ID, 0);
  Event("another program posts %d WM_TIMER %u to the login", login ? count : 0,
        static_cast<unsigned>(LOGIN_WAIT_TIMER_ID));
}

}  // namespace

StepResult RunLoginStep(const std::string& command, const std::string& rest) {
  if (command == "choose") {
    ChooseLoginEntry(Unescape(rest));
  } else if (command == "namelist") {
    NameListStep(rest);
  } else if (command == "posttimer") {
    PostLoginTimer(std::atoi(rest.c_str()));
  } else if (command == "lockwindows") {
    LogLockWindows();
  } else if (command == "memscan") {
    Event("memory holds %d copies of \"%s\" in UTF-16", CountUtf16CopiesInMemory(rest), rest.c_str());
  } else {
    return StepResult::NotThisKind;
  }
  return StepResult::Done;
}
