#include "win32/watch/SessionNotifications.h"

#include "win32/system/SystemLibrary.h"

namespace {

typedef BOOL(WINAPI* RegisterFunction)(HWND, DWORD);
typedef BOOL(WINAPI* UnregisterFunction)(HWND);
typedef BOOL(WINAPI* QueryFunction)(HANDLE, DWORD, int, LPWSTR*, DWORD*);
typedef void(WINAPI* FreeFunction)(PVOID);

const DWORD THIS_SESSION = 0;              // NOTIFY_FOR_THIS_SESSION
const DWORD CURRENT_SESSION = 0xFFFFFFFF;  // WTS_CURRENT_SESSION
const int SESSION_INFO_EX = 25;            // WTSSessionInfoEx
const DWORD RPC_NOT_READY_YET = 1702;      // RPC_S_INVALID_BINDING
const HANDLE CURRENT_SERVER = nullptr;     // WTS_CURRENT_SERVER_HANDLE

// WTSINFOEXW with its level 1, as far as it is read; the times make the
// alignment of the union that holds it.
struct SessionInfoLevel1 {
  ULONG sessionId;
  DWORD sessionState;
  LONG sessionFlags;
  WCHAR names[33 + 21 + 18];
  LARGE_INTEGER times[5];
};
struct SessionInfoEx {
  DWORD level;
  SessionInfoLevel1 level1;
};

HMODULE g_library;  // kept loaded while a window is registered
HWND g_registered;

template <typename Function>
Function Lookup(HMODULE library, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

// Windows 7 and Server 2008 R2, which report the lock flag reversed.
bool LockFlagReversed() {
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  return GetVersionExA(&version) && version.dwMajorVersion == 6 && version.dwMinorVersion == 1;
}

}  // namespace

Listening ListenForSessionChanges(HWND window) {
  if (g_registered) StopListeningForSessionChanges(g_registered);
  if (!g_library) g_library = LoadSystemLibrary(L"wtsapi32.dll");
  RegisterFunction registerWindow =
      g_library ? Lookup<RegisterFunction>(g_library, "WTSRegisterSessionNotification") : nullptr;
  if (registerWindow && registerWindow(window, THIS_SESSION)) {
    g_registered = window;
    return Listening::Yes;
  }
  bool notReadyYet = registerWindow && GetLastError() == RPC_NOT_READY_YET;
  if (g_library) FreeLibrary(g_library);
  g_library = nullptr;
  return notReadyYet ? Listening::TryAgain : Listening::Never;
}

void StopListeningForSessionChanges(HWND window) {
  if (!g_registered || g_registered != window) return;
  UnregisterFunction unregisterWindow = Lookup<UnregisterFunction>(g_library, "WTSUnRegisterSessionNotification");
  if (unregisterWindow) unregisterWindow(window);
  g_registered = nullptr;
  FreeLibrary(g_library);
  g_library = nullptr;
}

SessionReport AskWindowsForSession() {
  SessionReport report = {};
  HMODULE library = LoadSystemLibrary(L"wtsapi32.dll");
  if (!library) return report;
  QueryFunction query = Lookup<QueryFunction>(library, "WTSQuerySessionInformationW");
  FreeFunction release = Lookup<FreeFunction>(library, "WTSFreeMemory");
  LPWSTR buffer = nullptr;
  DWORD bytes = 0;
  if (query && release && query(CURRENT_SERVER, CURRENT_SESSION, SESSION_INFO_EX, &buffer, &bytes) && buffer) {
    const SessionInfoEx* info = reinterpret_cast<const SessionInfoEx*>(buffer);
    if (bytes >= sizeof(SessionInfoEx) && info->level == 1)
      report = ReadSessionReport(info->level1.sessionState, static_cast<uint32_t>(info->level1.sessionFlags),
                                 LockFlagReversed());
  }
  if (buffer && release) release(buffer);
  FreeLibrary(library);
  return report;
}
