#include "HostWindows.h"

#include <cstring>

HWND MasterHandle;

namespace {

const char HOST_CLASS_PREFIX[] = "FMPRO";
const char MENU_CLASS_PREFIX[] = "#32768";

// Accepts hwnd when it is one of the host's own windows and its class name
// begins with prefix (case-sensitively). Another program's window of a like
// class is never the host, and its menu must never get our Escape.
BOOL AcceptByClassPrefix(HWND hwnd, const char* prefix) {
  if (!IsWindow(hwnd)) return FALSE;
  if (!BelongsToThisProcess(hwnd)) return TRUE;
  char name[256];
  if (GetClassNameA(hwnd, name, sizeof name) <= 0) name[0] = '\0';
  if (std::strncmp(name, prefix, std::strlen(prefix)) != 0) return TRUE;
  MasterHandle = hwnd;
  return FALSE;
}

}  // namespace

BOOL CALLBACK EnumWindowsProc(HWND hwnd, LPARAM) { return AcceptByClassPrefix(hwnd, HOST_CLASS_PREFIX); }

BOOL CALLBACK EnumWindowsProc2(HWND hwnd, LPARAM) { return AcceptByClassPrefix(hwnd, MENU_CLASS_PREFIX); }

bool BelongsToThisProcess(HWND hwnd) {
  DWORD process = 0;
  return hwnd && GetWindowThreadProcessId(hwnd, &process) && process == GetCurrentProcessId();
}

HWND getthewindow() {
  EnumWindows(EnumWindowsProc, 1);
  if (IsWindow(MasterHandle)) return MasterHandle;
  return GetForegroundWindow();
}

HWND getthemenuwindow() {
  MasterHandle = nullptr;
  EnumWindows(EnumWindowsProc2, 1);
  return MasterHandle;
}
