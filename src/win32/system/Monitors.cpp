#include "win32/system/Monitors.h"

namespace {

typedef HMONITOR(WINAPI* MonitorFromWindowFunction)(HWND, DWORD);
typedef BOOL(WINAPI* GetMonitorInfoFunction)(HMONITOR, LPMONITORINFO);

bool MonitorInfoOf(HWND hwnd, MONITORINFO& info) {
  HMODULE user32 = GetModuleHandleA("user32.dll");
  MonitorFromWindowFunction monitorFromWindow =
      reinterpret_cast<MonitorFromWindowFunction>(reinterpret_cast<void*>(GetProcAddress(user32, "MonitorFromWindow")));
  GetMonitorInfoFunction getMonitorInfo =
      reinterpret_cast<GetMonitorInfoFunction>(reinterpret_cast<void*>(GetProcAddress(user32, "GetMonitorInfoA")));
  if (!monitorFromWindow || !getMonitorInfo) return false;
  info.cbSize = sizeof info;
  return getMonitorInfo(monitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &info) != FALSE;
}

RECT PrimaryScreen() {
  RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return screen;
}

}  // namespace

RECT MonitorAreaOf(HWND hwnd) {
  MONITORINFO info;
  return MonitorInfoOf(hwnd, info) ? info.rcMonitor : PrimaryScreen();
}

RECT WorkAreaOf(HWND hwnd) {
  MONITORINFO info;
  if (MonitorInfoOf(hwnd, info)) return info.rcWork;
  RECT area;
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0)) area = PrimaryScreen();
  return area;
}

RECT VirtualScreen() {
  int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  if (width <= 0 || height <= 0) return PrimaryScreen();  // a system before multiple monitors answers 0
  int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  RECT screen = {left, top, left + width, top + height};
  return screen;
}
