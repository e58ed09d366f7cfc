#include "win32/system/UserNameCase.h"

#include <windows.h>

#include <cstring>

#include "portable/engine/UnlockUsers.h"
#include "portable/text/UnicodeText.h"

namespace {

// The name in UTF-16, in upper case as Windows maps it; returns its units.
size_t UpperCase(const char* name, WCHAR* units, size_t room) {
  static_assert(sizeof(WCHAR) == sizeof(char16_t), "UTF-16 units");
  size_t count = Utf8ToUtf16(name, reinterpret_cast<char16_t*>(units), room);
  CharUpperBuffW(units, static_cast<DWORD>(count));
  return count;
}

}  // namespace

bool SameUserName(const char* a, const char* b) {
  const size_t ROOM = 2 * MOST_USER_NAME_CHARACTERS + 1;  // one unit more than a name takes
  WCHAR upperA[ROOM], upperB[ROOM];
  size_t countA = UpperCase(a, upperA, ROOM), countB = UpperCase(b, upperB, ROOM);
  return countA == countB && std::memcmp(upperA, upperB, countA * sizeof(WCHAR)) == 0;
}
