// What the lock's backdrop hands its login, and what every part of the login
// reads: the guard, the texts and the people as they were when the lock opened.
#pragma once

#include "portable/engine/UnlockUsers.h"
#include "win32/WorkstationGuard.h"

// Longest password the field takes, in the field's characters: every password
// the plug-in accepts fits. Windows text takes one byte or two a character;
// UTF-16 one unit or two.
const int PASSWORD_FIELD_LIMIT = 255;
const int UNICODE_PASSWORD_FIELD_LIMIT = 2 * 254;

// What the backdrop hands its login. What outlasts the login (the wrong
// passwords, the wait) is in the guard's lock session.
struct LoginRequest {
  WorkstationGuard* guard;  // its locked windows and lock session are this lock's
  HostInterface hostInterface;
  bool loginCameUp;
  bool checking;  // a typed password is being derived
  // The right password was typed: the host's windows are back, and the watch
  // hides nothing more while the loops above the lock's unwind.
  bool passwordTaken;
  LockLanguage language;  // of every text the login shows
  // The solution's line as it was when the lock opened, ready to show; empty for none.
  char message[2 * LOCK_MESSAGE_SIZE];
  // The people of a shared desk as they were when the lock opened, and whether
  // the workstation's own entry follows them in the list.
  UnlockUsers people;
  bool workstationEntry;
  int unlockedBy;  // the person whose password ended the lock, or WORKSTATION_UNLOCKED
};
