// Cost of the timer dialog's record tick and FileMaker tick against a floor
// tick that only reads the cursor and the keyboard, with 10, 100 and 1000 other
// top-level windows on the desktop (every tick searches them for the host).
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "plugin/Functions.h"
#include "plugin/PluginState.h"
#include "win32/guard/GuardLifetime.h"
#include "win32/guard/TimerDialog.h"
#include "win32/system/HostWindows.h"

namespace {

LRESULT CALLBACK Plain(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

double Microseconds(LARGE_INTEGER a, LARGE_INTEGER b, LARGE_INTEGER frequency) {
  return double(b.QuadPart - a.QuadPart) * 1e6 / double(frequency.QuadPart);
}

void Arm(FunctionRule rule, const char* text) {
  Reply reply = {};
  rule(Guard(), {text, true, false}, reply);
}

#ifdef _WIN64
const char HOST_CLASS[] = "FMPRO21.0APP";
#else
const char HOST_CLASS[] = "FMPRO5APP";
#endif

}  // namespace

int main() {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = Plain;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = HOST_CLASS;
  RegisterClassA(&wc);
  wc.lpszClassName = "OtherTopLevel";
  RegisterClassA(&wc);
  HWND host = CreateWindowExA(0, HOST_CLASS, "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr,
                              wc.hInstance, nullptr);
  SetForegroundWindow(host);
  StartGuard(Guard(), wc.hInstance, HostInterface::Classic);
  Arm(SetRecordLimit, "100000");
  Arm(SetFileMakerLimit, "100000");
  if (!Guard().timerDialog) {
    std::printf("the timer dialog could not be created\n");
    return 1;
  }
  StopAllTimers(Guard().timerDialog);

  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  const int kTicks = 20000;
  std::vector<HWND> others;
  std::printf("%8s %12s %12s %12s %8s %8s\n", "windows", "floor us", "record us", "FileMaker us", "record", "FM");
  for (int wanted : {10, 100, 1000}) {
    while (static_cast<int>(others.size()) < wanted)
      others.push_back(CreateWindowExA(0, "OtherTopLevel", "other", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                       wc.hInstance, nullptr));
    LARGE_INTEGER a, b, c, d;
    POINT p;
    BYTE keys[256];
    QueryPerformanceCounter(&a);
    for (int i = 0; i < kTicks; ++i) {
      GetCursorPos(&p);
      GetKeyboardState(keys);
    }
    QueryPerformanceCounter(&b);
    for (int i = 0; i < kTicks; ++i) SendMessageA(Guard().timerDialog, WM_TIMER, RECORD_TIMER, 0);
    QueryPerformanceCounter(&c);
    for (int i = 0; i < kTicks; ++i) SendMessageA(Guard().timerDialog, WM_TIMER, FILEMAKER_TIMER, 0);
    QueryPerformanceCounter(&d);
    double floor = Microseconds(a, b, frequency) / kTicks;
    double record = Microseconds(b, c, frequency) / kTicks;
    double app = Microseconds(c, d, frequency) / kTicks;
    std::printf("%8d %12.2f %12.2f %12.2f %7.1fx %7.1fx\n", wanted, floor, record, app, record / floor, app / floor);
  }
  // What a tick is made of: each call it makes, alone.
  POINT p;
  BYTE keys[256];
  const struct {
    const char* name;
    void (*call)(POINT&, BYTE*);
  } parts[] = {
      {"GetCursorPos", [](POINT& at, BYTE*) { GetCursorPos(&at); }},
      {"GetKeyboardState", [](POINT&, BYTE* k) { GetKeyboardState(k); }},
      {"GetForegroundWindow", [](POINT&, BYTE*) { GetForegroundWindow(); }},
      {"GetActiveWindow", [](POINT&, BYTE*) { GetActiveWindow(); }},
      {"FindHostWindowInUseOrFallback", [](POINT&, BYTE*) { FindHostWindowInUseOrFallback(); }},
      {"SendMessage(WM_NULL)", [](POINT&, BYTE*) { SendMessageA(Guard().timerDialog, WM_NULL, 0, 0); }},
  };
  for (const auto& part : parts) {
    LARGE_INTEGER a, b;
    QueryPerformanceCounter(&a);
    for (int i = 0; i < kTicks; ++i) part.call(p, keys);
    QueryPerformanceCounter(&b);
    std::printf("%24s %8.2f us\n", part.name, Microseconds(a, b, frequency) / kTicks);
  }
  std::printf("%d-bit build; ticks per measurement: %d; each timer ticks four times a second\n",
              static_cast<int>(8 * sizeof(void*)), kTicks);
  return 0;
}
