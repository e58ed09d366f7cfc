#include "OtherApplication.h"

#include <cstdio>
#include <string>

#include "Timeline.h"
#include "TypedInput.h"
#include "WindowClass.h"

namespace {

const char TITLE[] = "Other Application";
// Asks the other application to stop answering for wParam milliseconds.
const UINT WM_HANG = WM_APP + 7;

HWND g_window;
HANDLE g_process;

LRESULT CALLBACK OtherProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ACTIVATE:
      Event(LOWORD(wp) == WA_INACTIVE ? "other application inactive" : "other application active");
      break;
    case WM_CHAR: {
      static std::string typed;
      typed += static_cast<char>(wp);
      Event("other application has \"%s\"", typed.c_str());
      return 0;
    }
    case WM_HANG:
      Event("other application stops answering for %lu ms", static_cast<unsigned long>(wp));
      Sleep(static_cast<DWORD>(wp));
      Event("other application answers again");
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

struct WindowOfProcess {
  DWORD process;
  HWND found;
};

BOOL CALLBACK FindWindowOfProcess(HWND hwnd, LPARAM param) {
  WindowOfProcess* search = reinterpret_cast<WindowOfProcess*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(hwnd, &process);
  if (process != search->process || !IsWindowVisible(hwnd)) return TRUE;
  search->found = hwnd;
  return FALSE;
}

}  // namespace

HWND OtherApplicationWindow(const std::string& program, const std::string& windowClass) {
  if (g_window && IsWindow(g_window)) {
    SetForegroundWindow(g_window);
    return g_window;
  }
  char command[MAX_PATH + 400];
  std::snprintf(command, sizeof command, "\"%s\" --other-app %lu %lld %s", program.c_str(), GetCurrentProcessId(),
                TimelineStartCount(), windowClass.c_str());
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi;
  // It inherits our standard output, so its lines join the timeline.
  if (!CreateProcessA(nullptr, command, nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
    Event("cannot start the other application (error %lu)", GetLastError());
    return nullptr;
  }
  CloseHandle(pi.hThread);
  g_process = pi.hProcess;
  WindowOfProcess search = {pi.dwProcessId, nullptr};
  for (int i = 0; i < 500 && !search.found; ++i) {
    EnumWindows(FindWindowOfProcess, reinterpret_cast<LPARAM>(&search));
    if (!search.found) Sleep(10);
  }
  if (!search.found) Event("the other application shows no window");
  g_window = search.found;
  if (g_window) SetForegroundWindow(g_window);
  return g_window;
}

void HangOtherApplication(DWORD ms) {
  if (g_window) PostMessageA(g_window, WM_HANG, ms, 0);
}

void CloseOtherApplication() {
  if (!g_process) return;
  if (g_window) PostMessageA(g_window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(g_process, 3000) != WAIT_OBJECT_0) TerminateProcess(g_process, 1);
  CloseHandle(g_process);
  g_process = nullptr;
  g_window = nullptr;
}

int RunOtherApplication(DWORD parent, long long timelineStart, const char* windowClass) {
  TimelineStartAt(timelineStart);
  HANDLE parentProcess = OpenProcess(SYNCHRONIZE, FALSE, parent);
  RegisterWindowClass(windowClass, OtherProc, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  HWND hwnd = CreateWindowExA(0, windowClass, TITLE, WS_OVERLAPPEDWINDOW, 200, 200, 400, 200, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  if (!hwnd) return 1;
  ShowWindow(hwnd, SW_SHOW);
  for (;;) {
    DWORD waited = parentProcess ? MsgWaitForMultipleObjects(1, &parentProcess, FALSE, INFINITE, QS_ALLINPUT)
                                 : MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_ALLINPUT);
    if (parentProcess && waited == WAIT_OBJECT_0) break;  // the host has gone: so do we
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return 0;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  return 0;
}

namespace {

// Starts this program again with the arguments, as a helper process of its own.
void StartHelper(const char* command, const char* what) {
  std::string line = command;
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi;
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
    Event("cannot start the program that %s (error %lu)", what, GetLastError());
    return;
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
}

}  // namespace

void StartMouseMover(const std::string& program, const MouseMoves& moves) {
  char command[MAX_PATH + 200];
  std::snprintf(command, sizeof command, "\"%s\" --move-mouse %lu %lld %lu %lu %lu", program.c_str(),
                GetCurrentProcessId(), TimelineStartCount(), moves.ms, moves.pauseAt, moves.pauseMs);
  StartHelper(command, "moves the mouse");
}

int RunMouseMover(DWORD parent, long long timelineStart, const MouseMoves& moves) {
  TimelineStartAt(timelineStart);
  HANDLE parentProcess = OpenProcess(SYNCHRONIZE, FALSE, parent);
  const DWORD EVERY_MS = 200;
  POINT start;
  GetCursorPos(&start);
  Event("another program moves the mouse every %lu ms for %lu ms", EVERY_MS, moves.ms);
  DWORD began = GetTickCount();
  bool paused = false;
  for (int step = 1; GetTickCount() - began < moves.ms; ++step) {
    if (parentProcess && WaitForSingleObject(parentProcess, EVERY_MS) == WAIT_OBJECT_0) return 0;
    if (!parentProcess) Sleep(EVERY_MS);
    DWORD at = GetTickCount() - began;
    bool pause = moves.pauseMs > 0 && at >= moves.pauseAt && at < moves.pauseAt + moves.pauseMs;
    if (pause != paused) Event(pause ? "another program pauses" : "another program moves again");
    paused = pause;
    if (!pause) SetCursorPos(start.x + (step % 2) * 20, start.y);
  }
  Event("another program stopped moving the mouse");
  return 0;
}

void StartTyper(const std::string& program, const std::string& text) {
  char command[MAX_PATH + 400];
  std::snprintf(command, sizeof command, "\"%s\" --type-keys %lu %lld \"%s\"", program.c_str(), GetCurrentProcessId(),
                TimelineStartCount(), text.c_str());
  StartHelper(command, "types");
}

int RunTyper(DWORD parent, long long timelineStart, const char* text) {
  TimelineStartAt(timelineStart);
  HANDLE parentProcess = OpenProcess(SYNCHRONIZE, FALSE, parent);
  const DWORD EVERY_MS = 50;
  Event("another program types a key every %lu ms", EVERY_MS);
  for (const char* c = text; *c; ++c) {
    if (parentProcess && WaitForSingleObject(parentProcess, EVERY_MS) == WAIT_OBJECT_0) return 0;
    if (!parentProcess) Sleep(EVERY_MS);
    TypeText(std::string(1, *c));
  }
  Event("another program stopped typing");
  return 0;
}

std::string ThisProgram() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}
