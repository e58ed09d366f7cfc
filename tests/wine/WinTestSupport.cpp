#include "WinTestSupport.h"

#include <cstdlib>
#include <cstring>

#include "HostHandles.h"
#include "WindowClass.h"
#include "plugin/classic/ClassicCallBlock.h"
#include "portable/keys/SendKeys.h"
#include "win32/commit/WindowActivation.h"

void PumpFor(DWORD ms) {
  DWORD start = GetTickCount();
  MSG msg;
  do {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  } while (GetTickCount() - start < ms);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  MSG msg;
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return done();
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
  return true;
}

void PumpUntilKeysDelivered() {
  const DWORD QUIET_MS = 100, MOST_MS = 5000;
  DWORD start = GetTickCount(), quietSince = start;
  MSG msg;
  while (GetTickCount() - quietSince < QUIET_MS && GetTickCount() - start < MOST_MS) {
    if (HIWORD(GetQueueStatus(QS_KEY))) quietSince = GetTickCount();
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

bool InFront(HWND hwnd) {
  BringWindowToFront(hwnd);
  return PumpUntil([hwnd] { return GetForegroundWindow() == hwnd && GetActiveWindow() == hwnd; }, 3000);
}

bool MoveCursor(int x, int y) {
  auto there = [x, y] {
    POINT p;
    GetCursorPos(&p);
    return p.x == x && p.y == y;
  };
  for (int attempt = 0; attempt < 5; ++attempt) {
    SetCursorPos(x, y);
    if (PumpUntil(there, 500)) {
      PumpFor(100);
      if (there()) return true;
    }
  }
  return false;
}

namespace {
StepDriver* g_driver;
}

void StepDriver::Start(UINT intervalMs) {
  g_driver = this;
  next_ = 0;
  timer_ = SetTimer(nullptr, 0, intervalMs, Tick);
}

void StepDriver::Stop() {
  if (timer_) KillTimer(nullptr, timer_);
  timer_ = 0;
  if (g_driver == this) g_driver = nullptr;
}

void CALLBACK StepDriver::Tick(HWND, UINT, UINT_PTR, DWORD) {
  StepDriver* d = g_driver;
  if (!d || d->busy_ || d->Finished()) return;
  d->busy_ = true;
  if (d->steps_[d->next_]()) ++d->next_;
  d->busy_ = false;
  if (d->Finished()) d->Stop();
}

// ---- FakeHost ----

namespace {

FakeHost g_host;
WNDPROC g_editProc;

LRESULT CALLBACK RecordProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_KEYDOWN) {
    bool ctrl = GetKeyState(VK_CONTROL) < 0;
    char entry[32];
    wsprintfA(entry, "key %02X%s", static_cast<unsigned>(wp), ctrl ? " ctrl" : "");
    g_host.log.push_back(entry);
    if (wp == VK_RETURN && ctrl) {
      g_host.log.push_back("commit");
      return 0;
    }
  }
  if (msg == WM_CHAR && (wp == '\n' || wp == '\r')) return 0;
  return CallWindowProcA(g_editProc, hwnd, msg, wp, lp);
}

LRESULT CALLBACK InnerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_KEYDOWN && wp == VK_ESCAPE) g_host.log.push_back("escape-inner");
  return DefWindowProcA(hwnd, msg, wp, lp);
}

LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SETFOCUS && g_host.record) {
    SetFocus(g_host.record);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

// Registers a window class; fails harmlessly when it is registered already.
void Register(const char* name, WNDPROC proc) { RegisterWindowClass(name, proc); }

}  // namespace

bool FakeHost::Create(const char* mainClass, const char* innerClass) {
  Register(mainClass, MainProc);
  Register("TestPanel", DefWindowProcA);
  Register(innerClass, InnerProc);
  HINSTANCE instance = GetModuleHandleA(nullptr);
  main = CreateWindowExA(0, mainClass, "Test Host", WS_OVERLAPPEDWINDOW, 50, 50, 400, 300, nullptr, nullptr, instance,
                         nullptr);
  panel = CreateWindowExA(0, "TestPanel", "", WS_CHILD | WS_VISIBLE, 0, 0, 400, 300, main, nullptr, instance, nullptr);
  panel2 =
      CreateWindowExA(0, "TestPanel", "", WS_CHILD | WS_VISIBLE, 0, 0, 400, 300, panel, nullptr, instance, nullptr);
  inner = CreateWindowExA(0, innerClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 400, 300, panel2, nullptr, instance, nullptr);
  record = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 200, 24, inner, nullptr, instance,
                           nullptr);
  g_editProc =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrA(record, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordProc)));
  ShowWindow(main, SW_SHOW);
  SetForegroundWindow(main);
  SetFocus(record);
  PumpFor(50);
  log.clear();
  return main && record;
}

void FakeHost::Destroy() {
  if (main) DestroyWindow(main);
  main = panel = panel2 = inner = record = nullptr;
  log.clear();
  PumpFor(20);
}

int FakeHost::Count(const std::string& entry) const {
  int n = 0;
  for (const std::string& e : log) n += e == entry;
  return n;
}

FakeHost& TheFakeHost() { return g_host; }

// ---- calls into the plug-in ----

namespace {

FMExternCallStruct NewBlock(uint8_t kind) {
  FMExternCallStruct block;
  std::memset(&block, 0, sizeof block);
  block.callKind = kind;
  block.instanceHandle = GetModuleHandleA(nullptr);
  HostCallbacks host = FakeHostCallbacks();
  block.resizeHandleProc = host.resizeHandleProc;
  block.handleSizeProc = host.handleSizeProc;
  block.memoryErrorProc = host.memoryErrorProc;
  return block;
}

const char kUntouched[] = "untouched by the plug-in";

}  // namespace

void InitPluginCall() {
  FMExternCallStruct block = NewBlock(CALL_KIND_INIT);
  FMExternCallProc(&block);
}

CallResult CallFunction(unsigned number, const std::string& parameter) {
  FakeHandle param(parameter);
  FakeHandle result(kUntouched);
  FMExternCallStruct block = NewBlock(CALL_KIND_EXTERNAL);
  block.functionNumber = number;
  block.parameterHandle = param.Handle();
  block.result.resultHandle = result.Handle();
  FMExternCallProc(&block);
  CallResult out;
  out.reply = result.Content();
  out.replied = out.reply != kUntouched;
  return out;
}

void SetHostResizeFails(bool fail) { SetFakeResizeFails(fail); }

bool TimerRunning(HWND hwnd, UINT_PTR id, UINT intervalMs) {
  if (!KillTimer(hwnd, id)) return false;
  SetTimer(hwnd, id, intervalMs, nullptr);
  return true;
}

std::string WindowClass(HWND hwnd) {
  char name[256] = "";
  GetClassNameA(hwnd, name, sizeof name);
  return name;
}

HWND TopWindow(const char* cls, const char* title, bool visible, WNDPROC proc) {
  Register(cls, proc);
  return CreateWindowExA(0, cls, title, WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0), 300, 300, 240, 120, nullptr,
                         nullptr, GetModuleHandleA(nullptr), nullptr);
}

HWND OtherApplicationWindow(const char* windowClass) {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string host(path);
  for (int i = 0; i < 3; ++i) host = host.substr(0, host.find_last_of("\\/"));
  HWND other = OtherApplicationWindow(host + "\\host\\LullexHost.exe", windowClass);
  // The switch is complete when this thread, too, has taken in that it lost the
  // activation.
  PumpUntil([other] { return GetForegroundWindow() == other && GetActiveWindow() == nullptr; }, 2000);
  // A pause after the last input, as a person switching programs makes: the
  // plug-in takes the foreground only in one.
  PumpFor(400);
  return other;
}
