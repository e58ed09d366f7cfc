// The workstation lock screen: a captionless backdrop over the desktop and, in
// front of it, the "Please Login" dialog that only the workstation password ends.
#pragma once

#include <windows.h>

#include "win32/LockedWindows.h"
#include "win32/WorkstationGuard.h"

// Longest password the field takes, in the field's characters: every password
// the plug-in accepts fits. Windows text takes one byte or two a character;
// UTF-16 one unit or two.
const int PASSWORD_FIELD_LIMIT = 255;
const int UNICODE_PASSWORD_FIELD_LIMIT = 2 * 254;

// At a shared desk the login has a list of who unlocks, made when it opens:
// its row's height in dialog units, and the list's and its label's IDs.
const int NAME_ROW_HEIGHT = 17;
const int IDC_LOGIN_NAME = 1134;
const int IDC_LOGIN_NAME_LABEL = 1135;

// Who ended a lock: at a shared desk (people were set when it opened) the
// person whose password it was, or "" for the workstation's.
struct LoginOutcome {
  bool namesUser;
  char user[USER_NAME_SIZE];
};

// After the third wrong password in a row, the login waits before the next try
// and counts the wait down on this timer of its own, a second a tick.
const UINT_PTR LOGIN_WAIT_TIMER = 1140;
const UINT LOGIN_WAIT_TICK_MS = 1000;

// While the lock is up, a window the host shows is hidden on this timer's next
// tick, and joins the windows to give back.
const UINT_PTR LOCK_WATCH_TIMER = 1141;
const UINT LOCK_WATCH_TICK_MS = 250;

// Hides every window of the host behind the lock and returns true once the
// password has been typed; the host's windows are then given back. Returns
// false, with the windows given back, when the lock screen could not be put up
// or was ended otherwise (EndLockScreen, the host quitting); and does nothing
// while lockIsUp is set, which it sets for as long as the lock is up. The
// password is in the host interface's text: the login field reads
// what is typed in the same text. Wrong passwords are counted for this lock
// only; from the fourth in a row on, each makes the next try wait longer.
// The backdrop has no owner: closing any host window must not close the lock.
// Each try is checked against what was in force when OK was pressed: the
// password, or, where a digest is in force, the digest, to which what is typed
// (UTF-8) is derived. A password set while a try is checked applies from the
// next try.
// Under FileMaker 7 and later, with people set, the login lists them (and
// "Workstation" when a workstation password is in force) and checks a try
// against the chosen entry only; outcome, when given, tells who unlocked.
bool RunLockScreen(HINSTANCE instance, const Settings& settings, bool& lockIsUp, LockedWindows& lock,
                   HostInterface hostInterface = HostInterface::Classic, LoginOutcome* outcome = nullptr);

// Ends a lock that is up without its password and gives the host's windows
// back at once: the plug-in is being shut down, and must leave nothing hidden.
void EndLockScreen(LockedWindows& lock);
