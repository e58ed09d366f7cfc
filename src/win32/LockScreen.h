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

// After the third wrong password in a row, the login waits before the next
// try. The wait is a deadline on the plug-in's clock: this timer of the login's
// only repaints the countdown, so no message sent from outside shortens it.
const UINT_PTR LOGIN_WAIT_TIMER = 1140;
const UINT LOGIN_WAIT_TICK_MS = 250;

// While the lock is up, a window the host shows is hidden on this timer's next
// tick, and joins the windows to give back.
const UINT_PTR LOCK_WATCH_TIMER = 1141;
const UINT LOCK_WATCH_TICK_MS = 250;

enum class LockEnd {
  Unlocked,   // the password: the host's windows are back
  GivenBack,  // the plug-in's shutdown, or the lock could not be put up: the windows are back
  Held,       // the login's loop ended otherwise (a WM_QUIT, handed on): the windows stay hidden
  AlreadyUp,  // a lock is up already: nothing was done
};

// Hides every window of the host behind the lock until the password is typed.
// The guard's lockIsUp is set for as long as the lock is up or held; a held
// lock (its windows still hidden) is opened again by calling this once more,
// and carries on its count of wrong passwords and its wait. The password is in
// the host interface's text: the login field reads what is typed in the same
// text. Wrong passwords are counted for this lock only; from the fourth in a
// row on, each makes the next try wait longer. The backdrop has no owner:
// closing any host window must not close the lock.
// Each try is checked against what is in force when OK is pressed: the
// password, or, where a digest is in force, the digest, to which what is typed
// (UTF-8) is derived; at a shared desk, the chosen person's digest, if that
// person is still one of the people. Under FileMaker 7 and later, with people
// set, the login lists them as they were when it opened (and "Workstation" when
// a workstation password is in force); outcome, when given, tells who unlocked.
LockEnd RunLockScreen(HINSTANCE instance, WorkstationGuard& guard, LoginOutcome* outcome = nullptr);

// Ends a lock that is up or held without its password and gives the host's
// windows back at once: the plug-in is being shut down, and must leave nothing
// hidden. A check under way is abandoned: nothing of it shows or counts.
void EndLockScreen(WorkstationGuard& guard);
