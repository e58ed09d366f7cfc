// The exit-record action: closes an open menu, brings the host main window to
// the front and types Ctrl+Enter into it, so FileMaker Pro commits the record.
#pragma once

#include <windows.h>

#include <cstdint>

const int KEY_TEXT_SIZE = 256;
extern char szBuf[KEY_TEXT_SIZE];  // the key text typed into the host
extern HWND tempmaster;            // host main window at the start of the action
extern int32_t minim;              // 1 when the host main window had been minimised
extern HWND temphwnd;              // window the restore tick gives the foreground back to
extern HWND masterhwnd;            // first child of the host main window
extern HWND hwnd2;                 // first child of masterhwnd

void kickout();
