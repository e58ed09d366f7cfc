// The workstation lock screen: a captionless backdrop over the desktop and, in
// front of it, the "Please Login" dialog that only the workstation password ends.
#pragma once

#include <windows.h>

#include <cstdint>

const int FIELD_TEXT_SIZE = 1024;
extern char szField1[FIELD_TEXT_SIZE];  // what was typed into the password field

// Longest password the field takes: every password the plug-in accepts fits.
const int PASSWORD_FIELD_LIMIT = 255;

// 1 from the moment the lock opens until it has ended: only the lock's own
// return clears it, so nothing that runs inside the lock can open a second one.
extern int32_t locked;

// Locks the workstation and returns true once the right password has been
// typed. Returns false at once, with the host main window shown again, when the
// lock screen could not be put up, and does nothing while a lock is up.
bool RunLockScreen(HINSTANCE instance, HWND owner);

INT_PTR CALLBACK MyNewBackProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK MyNewTitleProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
