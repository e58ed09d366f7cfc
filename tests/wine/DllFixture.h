// The built Lullex.fmx loaded the way the host loads it, and called through a
// host call block filled by raw offsets.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "BadInput.h"
#include "HostHandles.h"
#include "StackResidue.h"
#include "plugin/FunctionTable.h"
#include "resources/ResourceIds.h"

inline HMODULE g_dll;
typedef void (*Entry)(void*);
inline Entry g_entry;

inline std::string PluginPath() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p(path);
  p = p.substr(0, p.find_last_of("\\/"));  // tests/wine
  p = p.substr(0, p.find_last_of("\\/"));  // tests
  p = p.substr(0, p.find_last_of("\\/"));  // build folder
  return p + "\\Lullex.fmx";
}

template <typename T>
inline void Put(unsigned char* block, int offset, T value) {
  std::memcpy(block + offset, &value, sizeof value);
}

inline void FillCallbacks(unsigned char* block) {
  Put(block, 20, reinterpret_cast<uint32_t>(g_dll));
  HostCallbacks host = FakeHostCallbacks();
  Put(block, 36, reinterpret_cast<uint32_t>(host.resizeHandleProc));
  Put(block, 40, reinterpret_cast<uint32_t>(host.handleSizeProc));
  Put(block, 68, reinterpret_cast<uint32_t>(host.memoryErrorProc));
}

// Calls function `number` and returns the reply, or "(none)" when the result
// handle was left as the host filled it.
inline std::string Call(uint32_t number, const std::string& parameter) {
  unsigned char block[128] = {};
  FillCallbacks(block);
  FakeHandle param(parameter);
  FakeHandle result("(none)");
  block[9] = 3;
  Put(block, 12, number);
  Put(block, 16, reinterpret_cast<uint32_t>(&param.bytes));
  Put(block, 24, reinterpret_cast<uint32_t>(&result.bytes));
  g_entry(block);
  return result.Content();
}

inline int32_t Init(int16_t version) {
  unsigned char block[128];
  std::memset(block, 0x5A, sizeof block);
  FillCallbacks(block);
  Put(block, 0, version);
  block[9] = 0;
  g_entry(block);
  int32_t answer;
  std::memcpy(&answer, block + 24, 4);
  return answer;
}

inline LRESULT CALLBACK PlainProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

class Dll : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "FMPRO5APP";
    RegisterClassA(&wc);
    host_ = CreateWindowExA(0, "FMPRO5APP", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr,
                            wc.hInstance, nullptr);
    g_dll = LoadLibraryA(PluginPath().c_str());
    if (g_dll) g_entry = reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(g_dll, "FMExternCallProc")));
  }
  static void TearDownTestSuite() { DestroyWindow(host_); }
  void SetUp() override {
    ASSERT_NE(g_dll, nullptr) << PluginPath();
    ASSERT_NE(g_entry, nullptr);
    SetFakeResizeFails(false);
  }
  static inline HWND host_;
};
