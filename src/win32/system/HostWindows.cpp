#include "win32/system/HostWindows.h"

#include <cstring>

namespace {

const char HOST_CLASS_PREFIX[] = "FMPRO";
const char MENU_CLASS_PREFIX[] = "#32768";

// Shared by both searches: a host search that finds nothing falls back on it.
HWND g_lastFound;

// FileMaker 7 and later name the application window "FMPRO<version>APP"; the
// document and tool windows share the prefix. FileMaker Pro 5 and 6: any suffix.
const char MODERN_HOST_CLASS_SUFFIX[] = "APP";
bool g_modernHost;

// Whether hwnd's class begins with prefix and, for the host, ends with its suffix:
// one read of the class name, as every tick asks.
bool HasClass(HWND hwnd, const char* prefix) {
  char name[256];
  if (GetClassNameA(hwnd, name, sizeof name) <= 0) name[0] = '\0';
  if (std::strncmp(name, prefix, std::strlen(prefix)) != 0) return false;
  if (prefix != HOST_CLASS_PREFIX) return true;
  const char* suffix = g_modernHost ? MODERN_HOST_CLASS_SUFFIX : "";
  size_t length = std::strlen(name), wanted = std::strlen(suffix);
  return length >= wanted && std::strcmp(name + length - wanted, suffix) == 0;
}

bool IsHostWindow(HWND hwnd) {
  return hwnd && IsWindow(hwnd) && BelongsToThisProcess(hwnd) && HasClass(hwnd, HOST_CLASS_PREFIX);
}

BOOL CALLBACK AcceptByClassPrefix(HWND hwnd, LPARAM prefix) {
  if (!IsWindow(hwnd)) return FALSE;  // the list changed under us
  if (!BelongsToThisProcess(hwnd) || !HasClass(hwnd, reinterpret_cast<const char*>(prefix))) return TRUE;
  g_lastFound = hwnd;
  return FALSE;
}

}  // namespace

bool BelongsToThisProcess(HWND hwnd) {
  DWORD process = 0;
  return hwnd && GetWindowThreadProcessId(hwnd, &process) && process == GetCurrentProcessId();
}

bool IsOrIsOwnedBy(HWND hwnd, const HWND* windows, int count) {
  for (int depth = 0; hwnd && depth < 8; ++depth, hwnd = GetWindow(hwnd, GW_OWNER))
    for (int i = 0; i < count; ++i)
      if (windows[i] && hwnd == windows[i]) return true;
  return false;
}

HWND FindHostWindowInUseOrFallback() { return FindHostWindowInUseOrFallback(GetForegroundWindow()); }

HWND FindHostWindowInUseOrFallback(HWND foreground) {
  if (IsHostWindow(foreground)) return g_lastFound = foreground;
  if (IsHostWindow(g_lastFound)) return g_lastFound;
  EnumWindows(AcceptByClassPrefix, reinterpret_cast<LPARAM>(HOST_CLASS_PREFIX));
  if (IsWindow(g_lastFound)) return g_lastFound;
  return foreground;
}

bool HostShowsDialog(HWND host) { return BelongsToThisProcess(host) && !IsWindowEnabled(host); }

HWND FindOpenMenuWindow() {
  g_lastFound = nullptr;
  EnumWindows(AcceptByClassPrefix, reinterpret_cast<LPARAM>(MENU_CLASS_PREFIX));
  return g_lastFound;
}

void WatchHostWindowsOf(HostInterface host) { g_modernHost = host == HostInterface::Modern; }

HWND LastFoundWindow() { return g_lastFound; }
void ForgetFoundWindow() { g_lastFound = nullptr; }
