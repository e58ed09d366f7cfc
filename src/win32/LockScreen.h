// The workstation lock screen: a captionless backdrop over the desktop and, in
// front of it, the "Please Login" dialog that only the workstation password ends.
#pragma once

#include <windows.h>

// Longest password the field takes: every password the plug-in accepts fits.
const int PASSWORD_FIELD_LIMIT = 255;

// Hides the host main window behind the lock and returns true once password
// (Windows text) has been typed. Returns false at once, with the host main
// window shown again, when the lock screen could not be put up; and does
// nothing while lockUp is set, which it sets for as long as the lock is up.
bool RunLockScreen(HINSTANCE instance, HWND owner, const char* password, bool& lockUp);
