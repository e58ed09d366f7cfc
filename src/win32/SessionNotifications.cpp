#include "win32/SessionNotifications.h"

#include "win32/SystemLibrary.h"

namespace {

typedef BOOL(WINAPI* RegisterFunction)(HWND, DWORD);
typedef BOOL(WINAPI* UnregisterFunction)(HWND);

const DWORD THIS_SESSION = 0;  // NOTIFY_FOR_THIS_SESSION

HMODULE g_library;  // kept loaded while a window is registered
HWND g_registered;

template <typename Function>
Function Lookup(const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(g_library, name)));
}

}  // namespace

void ListenForSessionChanges(HWND window) {
  if (g_registered) StopListeningForSessionChanges(g_registered);
  if (!g_library) g_library = LoadSystemLibrary(L"wtsapi32.dll");
  RegisterFunction registerWindow = g_library ? Lookup<RegisterFunction>("WTSRegisterSessionNotification") : nullptr;
  if (registerWindow && registerWindow(window, THIS_SESSION)) {
    g_registered = window;
  } else if (g_library) {
    FreeLibrary(g_library);
    g_library = nullptr;
  }
}

void StopListeningForSessionChanges(HWND window) {
  if (!g_registered || g_registered != window) return;
  UnregisterFunction unregisterWindow = Lookup<UnregisterFunction>("WTSUnRegisterSessionNotification");
  if (unregisterWindow) unregisterWindow(window);
  g_registered = nullptr;
  FreeLibrary(g_library);
  g_library = nullptr;
}
