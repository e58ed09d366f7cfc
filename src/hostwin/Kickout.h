// The exit-record action: closes an open menu, brings the host main window to
// the front and types Ctrl+Enter into it, so FileMaker Pro commits the record.
#pragma once

#include <windows.h>

#include <cstdint>

const int KEY_TEXT_SIZE = 256;
extern char szBuf[KEY_TEXT_SIZE];  // the key text typed into the host
extern HWND tempmaster;            // host main window at the start of the action
extern int32_t minim;              // 1 when the action restored a minimised tempmaster
extern HWND temphwnd;              // window the restore tick gives the foreground back to
extern HWND masterhwnd;            // first child of the host main window
extern HWND hwnd2;                 // first child of masterhwnd

// Types the keys only into the host main window, enabled and in front; true
// when it did (and the exit-record latch is then set).
bool kickout();
