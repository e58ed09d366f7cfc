#include "HostWindows.h"

#include <cstring>

HWND MasterHandle;

namespace {

const char HOST_CLASS_PREFIX[] = "FMPRO";
const char MENU_CLASS_PREFIX[] = "#32768";

// Accepts hwnd when its class name begins with prefix (case-sensitively): the
// slot takes the first top-level window of exactly that class.
BOOL AcceptByClassPrefix(HWND hwnd, const char* prefix) {
  if (!IsWindow(hwnd)) return FALSE;
  char name[256];
  if (GetClassNameA(hwnd, name, sizeof name) <= 0) name[0] = '\0';
  if (std::strncmp(name, prefix, std::strlen(prefix)) != 0) return TRUE;
  HWND first = FindWindowA(name, nullptr);
  if (!first) return TRUE;
  MasterHandle = first;
  return FALSE;
}

}  // namespace

BOOL CALLBACK EnumWindowsProc(HWND hwnd, LPARAM) { return AcceptByClassPrefix(hwnd, HOST_CLASS_PREFIX); }

BOOL CALLBACK EnumWindowsProc2(HWND hwnd, LPARAM) { return AcceptByClassPrefix(hwnd, MENU_CLASS_PREFIX); }

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
