#include "portable/engine/UnlockUsers.h"

#include <cstring>

namespace {

// The code point starting at text (UTF-8 as the plug-in keeps it), and its length.
uint32_t NextCharacter(const unsigned char* text, size_t& length) {
  unsigned char lead = text[0];
  length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  uint32_t c = length == 1 ? lead : lead & (0x3F >> (length - 1));
  for (size_t i = 1; i < length; ++i) {
    if ((text[i] & 0xC0) != 0x80) return length = i, 0xFFFD;
    c = (c << 6) | (text[i] & 0x3F);
  }
  return c;
}

bool IsControl(uint32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

int Find(const UnlockUsers& users, const char* name, SameName same) {
  for (int i = 0; i < users.count; ++i)
    if (same(users.users[i].name, name)) return i;
  return -1;
}

void Remove(UnlockUsers& users, int at) {
  for (int i = at; i + 1 < users.count; ++i) users.users[i] = users.users[i + 1];
  --users.count;
  users.users[users.count] = UnlockUser();
  if (users.lastUnlocked == at) users.lastUnlocked = NOBODY_UNLOCKED;
  if (users.lastUnlocked > at) --users.lastUnlocked;
}

}  // namespace

bool UserNameIsValid(const char* name) {
  const unsigned char* at = reinterpret_cast<const unsigned char*>(name);
  size_t characters = 0;
  uint32_t last = 0;
  while (*at) {
    size_t length;
    uint32_t c = NextCharacter(at, length);
    if (IsControl(c) || (characters == 0 && c == ' ')) return false;
    if (++characters > MOST_USER_NAME_CHARACTERS) return false;
    last = c;
    at += length;
  }
  return characters > 0 && last != ' ';
}

UserChange SetUnlockUser(UnlockUsers& users, const char* name, const PasswordDigest* digest, SameName same) {
  if (!UserNameIsValid(name)) return UserChange::Refused;
  int at = Find(users, name, same);
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
  users.lastUnlocked = name[0] == '\0' ? WORKSTATION_UNLOCKED : Find(users, name, same);
}

int PreselectedEntry(const UnlockUsers& users, bool workstationEntry) {
  if (users.lastUnlocked >= 0 && users.lastUnlocked < users.count) return users.lastUnlocked;
  if (users.lastUnlocked == WORKSTATION_UNLOCKED && workstationEntry) return users.count;
  return 0;
}

void EscapeForJson(const char* text, char* out, size_t size) {
  const char HEX[] = "0123456789abcdef";
  size_t used = 0;
  out[0] = '\0';
  for (const unsigned char* at = reinterpret_cast<const unsigned char*>(text); *at; ++at) {
    char escaped[7] = {static_cast<char>(*at), 0};
    if (*at == '"' || *at == '\\') {
      escaped[0] = '\\', escaped[1] = static_cast<char>(*at), escaped[2] = 0;
    } else if (*at < 0x20) {
      std::memcpy(escaped, "\\u00", 4);
      escaped[4] = HEX[*at >> 4], escaped[5] = HEX[*at & 15], escaped[6] = 0;
    }
    size_t length = std::strlen(escaped);
    if (used + length + 1 > size) return;
    std::memcpy(out + used, escaped, length + 1);
    used += length;
  }
}
