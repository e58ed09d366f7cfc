#include "WindowClass.h"

ATOM RegisterWindowClass(const char* name, WNDPROC proc, HBRUSH background) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  return RegisterClassA(&wc);
}

HWND CreateChild(const char* windowClass, const char* text, DWORD style, int x, int y, int width, int height,
                 HWND parent, int id) {
  return CreateWindowExA(0, windowClass, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}
