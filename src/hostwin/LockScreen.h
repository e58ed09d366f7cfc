// The workstation lock screen: a captionless backdrop over the desktop and, in
// front of it, the "Please Login" dialog that only the workstation password ends.
#pragma once

#include <windows.h>

extern HWND backhwnd;  // the backdrop dialog
const int FIELD_TEXT_SIZE = 1024;
extern char szField1[FIELD_TEXT_SIZE];  // what was typed into the password field

// Longest password the field takes: every password the plug-in accepts fits.
const int PASSWORD_FIELD_LIMIT = 255;

INT_PTR CALLBACK MyNewBackProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK MyNewTitleProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
