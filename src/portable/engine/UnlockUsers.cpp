#include "portable/engine/UnlockUsers.h"

#include <cstring>

#include "portable/text/UnicodeSets.h"
#include "portable/text/UnicodeText.h"

namespace {

bool IsControl(char32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

// What shows nothing, or nothing of its own, anywhere in a name: two names
// that look the same would be two people, and a name of it alone shows
// nobody.
bool ShowsNothing(char32_t c) { return IsControl(c) || IsFormatCharacter(c) || IsDefaultIgnorable(c); }

void Remove(UnlockUsers& users, int at) {
  for (int i = at; i + 1 < users.count; ++i) users.users[i] = users.users[i + 1];
  --users.count;
  users.users[users.count] = UnlockUser();
  if (users.lastUnlocked == at) users.lastUnlocked = NOBODY_UNLOCKED;
  if (users.lastUnlocked > at) --users.lastUnlocked;
}

}  // namespace

int FindUnlockUser(const UnlockUsers& users, const char* name, SameName same) {
  for (int i = 0; i < users.count; ++i)
    if (same(users.users[i].name, name)) return i;
  return -1;
}

bool UserNameIsValid(const char* name) {
  size_t characters = 0;
  char32_t last = 0;
  for (size_t i = 0; name[i];) {
    char32_t c = NextUtf8CodePoint(name, i);
    // No space of any kind begins or ends a name: "Ann" is one person.
    if (ShowsNothing(c) || (characters == 0 && IsWhiteSpace(c))) return false;
    if (++characters > MOST_USER_NAME_CHARACTERS) return false;
    last = c;
  }
  return characters > 0 && !IsWhiteSpace(last);
}

UserChange SetUnlockUser(UnlockUsers& users, const char* name, const PasswordDigest* digest, SameName same) {
  if (!UserNameIsValid(name)) return UserChange::Refused;
  int at = FindUnlockUser(users, name, same);
  if (!digest) {
    if (at < 0) return UserChange::NothingToRemove;
    Remove(users, at);
    return UserChange::Removed;
  }
  UserChange change = at < 0 ? UserChange::Added : UserChange::Replaced;
  if (at < 0) {
    if (users.count == MOST_UNLOCK_USERS) return UserChange::Full;
    at = users.count++;
  }
  UnlockUser& user = users.users[at];
  std::strncpy(user.name, name, USER_NAME_SIZE - 1);
  user.name[USER_NAME_SIZE - 1] = '\0';
  user.digest = *digest;
  return change;
}

void NoteWhoUnlocked(UnlockUsers& users, const char* name, SameName same) {
  users.lastUnlocked = name[0] == '\0' ? WORKSTATION_UNLOCKED : FindUnlockUser(users, name, same);
}

int PreselectedEntry(const UnlockUsers& users, bool workstationEntry) {
  if (users.lastUnlocked >= 0 && users.lastUnlocked < users.count) return users.lastUnlocked;
  if (users.lastUnlocked == WORKSTATION_UNLOCKED && workstationEntry) return users.count;
  return 0;
}
