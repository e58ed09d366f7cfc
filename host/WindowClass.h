// Plain window classes of the stand-in, the other application and the tests.
#pragma once

#include <windows.h>

// Registers a class of this program with an arrow cursor; 0 when that fails
// (it is registered already, say).
ATOM RegisterWindowClass(const char* name, WNDPROC proc, HBRUSH background = nullptr);

// A visible child window of this program's, with its control id.
HWND CreateChild(const char* windowClass, const char* text, DWORD style, int x, int y, int width, int height,
                 HWND parent, int id);
