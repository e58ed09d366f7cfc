// Helpers for tests that drive the real Windows API under Wine.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Dispatches every message for ms milliseconds.
void PumpFor(DWORD ms);
// Dispatches messages until done() or timeout; returns done().
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);
// Dispatches until no key message has been waiting for a while: keys typed
// before the call have then reached their windows, however slow the machine.
void PumpUntilKeysDelivered();
// Brings hwnd to the front as the plug-in does and waits until Windows says so.
bool InFront(HWND hwnd);

// Puts the cursor at x, y and waits until Wine reports it there steadily (a
// warp reaches the X server asynchronously, and a stale position can come back).
bool MoveCursor(int x, int y);

// Typing through SendInput, as a person would.
#include "TypedInput.h"
// Another process to switch to.
#include "OtherApplication.h"

// Runs steps one after another from a thread timer, so that they also run
// inside modal loops (dialogs, menus, message boxes). A step returns true when
// it is done; the driver stops after the last one.
class StepDriver {
 public:
  void Add(std::function<bool()> step) { steps_.push_back(std::move(step)); }
  void Start(UINT intervalMs = 30);
  void Stop();
  bool Finished() const { return next_ >= steps_.size(); }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
  std::vector<std::function<bool()>> steps_;
  size_t next_ = 0;
  UINT_PTR timer_ = 0;
  bool busy_ = false;
};

// A stand-in for FileMaker Pro's main window inside the test process: class
// FMPRO5APP (or another), first children three deep, a record field inside the
// innermost one. It records what it receives.
struct FakeHost {
  HWND main = nullptr;
  HWND panel = nullptr, panel2 = nullptr, inner = nullptr, record = nullptr;
  std::vector<std::string> log;  // "commit", "escape-inner", "key 0D ctrl", ...

  bool Create(const char* mainClass = "FMPRO5APP", const char* innerClass = "TestRecordArea");
  void Destroy();
  int Count(const std::string& entry) const;
};
FakeHost& TheFakeHost();

// One external-function call into the plug-in linked into the test, through a
// host call block and host handles of the test's own.
struct CallResult {
  bool replied;       // false: the result handle kept what the host put there
  std::string reply;  // the bytes of the reply
};
void InitPluginCall();
CallResult CallFunction(unsigned number, const std::string& parameter);
void SetHostResizeFails(bool fail);

// KillTimer succeeds only for a running timer; the timer is set again afterwards.
bool TimerRunning(HWND hwnd, UINT_PTR id, UINT intervalMs);

std::string WindowClass(HWND hwnd);

// A top-level window of class cls (registered on first use with proc) and title.
HWND TopWindow(const char* cls, const char* title, bool visible = true, WNDPROC proc = DefWindowProcA);
// Another application's window (the host stand-in run as a second process),
// shown and in front, with nobody typing since. CloseOtherApplication() ends it.
HWND OtherApplicationWindow(const char* windowClass = "OtherApplication");
