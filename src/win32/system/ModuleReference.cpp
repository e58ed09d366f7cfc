#include "win32/system/ModuleReference.h"

HMODULE ReferenceToThisModule() {
  typedef BOOL(WINAPI * GetModuleHandleExFunction)(DWORD, LPCWSTR, HMODULE*);
  const DWORD FROM_ADDRESS = 0x4;  // GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS
  GetModuleHandleExFunction get = reinterpret_cast<GetModuleHandleExFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetModuleHandleExW")));
  HMODULE module = nullptr;
  if (!get || !get(FROM_ADDRESS, reinterpret_cast<LPCWSTR>(reinterpret_cast<void*>(&ReferenceToThisModule)), &module))
    return nullptr;
  return module;
}

HINSTANCE ModuleOfWindow(HWND window) { return reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE)); }
