// The people who may unlock a shared desk, each with a digest of their own
// password, in the order the solution added them. Names and digests only: no
// password is ever kept here.
#pragma once

#include <cstddef>
#include <cstdint>

#include "portable/engine/PasswordDigest.h"

const int MOST_UNLOCK_USERS = 32;
const size_t MOST_USER_NAME_CHARACTERS = 64;
// A name in UTF-8, with its terminator.
const size_t USER_NAME_SIZE = 4 * MOST_USER_NAME_CHARACTERS + 1;

struct UnlockUser {
  char name[USER_NAME_SIZE];
  PasswordDigest digest;
};

// Who opened the last lock, as the login preselects it.
const int NOBODY_UNLOCKED = -1;
const int WORKSTATION_UNLOCKED = -2;

struct UnlockUsers {
  UnlockUser users[MOST_UNLOCK_USERS];
  int count;
  int lastUnlocked;  // an index into users, NOBODY_UNLOCKED or WORKSTATION_UNLOCKED
};

// Whether two names (UTF-8) name one person: compared without regard to case,
// which takes Windows' own tables, so it is handed in.
typedef bool (*SameName)(const char* a, const char* b);

// A name of 1 to 64 characters (UTF-8), none a control or a format character
// (which show nothing: "Ann" with a zero-width space would pass for "Ann"),
// neither the first nor the last a space or a no-break space.
bool UserNameIsValid(const char* name);

// The index of the person of that name, or -1.
int FindUnlockUser(const UnlockUsers& users, const char* name, SameName same);

enum class UserChange { Added, Replaced, Removed, NothingToRemove, Refused, Full };

// Adds the person, or gives the one of that name the new digest and spelling
// in their place; a null digest removes them. Refused (invalid name) and Full
// (a 33rd person) change nothing.
UserChange SetUnlockUser(UnlockUsers& users, const char* name, const PasswordDigest* digest, SameName same);

// Notes who unlocked, for the next login to preselect: the person of that
// name (if still there), or, for an empty name, the workstation's entry.
void NoteWhoUnlocked(UnlockUsers& users, const char* name, SameName same);

// The entry the login preselects among `entries` (the people, then the
// workstation's when it has one): who unlocked last, else the first.
int PreselectedEntry(const UnlockUsers& users, bool workstationEntry);
