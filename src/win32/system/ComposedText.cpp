#include "win32/system/ComposedText.h"

#include <windows.h>

#include "portable/text/UnicodeText.h"
#include "win32/system/SystemLibrary.h"

namespace {

typedef int(WINAPI* NormalizeStringFunction)(int form, LPCWSTR source, int sourceUnits, LPWSTR out, int outUnits);
const int NORMALIZATION_C = 1;

// Windows 8 and later have it in kernel32, Vista and 7 in normaliz.dll.
NormalizeStringFunction FindNormalizeString() {
  FARPROC found = GetProcAddress(GetModuleHandleA("kernel32.dll"), "NormalizeString");
  if (!found) {
    HMODULE library = LoadSystemLibrary(L"normaliz.dll");
    if (library) found = GetProcAddress(library, "NormalizeString");
  }
  return reinterpret_cast<NormalizeStringFunction>(reinterpret_cast<void*>(found));
}

}  // namespace

void ComposeText(const char* text, char* out, size_t size) {
  static_assert(sizeof(WCHAR) == sizeof(char16_t), "UTF-16 units");
  const int ROOM = 1024;  // a parameter's 254 characters, and composition seldom grows them
  WCHAR given[ROOM], composed[ROOM];
  int count = static_cast<int>(Utf8ToUtf16(text, reinterpret_cast<char16_t*>(given), ROOM));
  NormalizeStringFunction normalize = count > 0 ? FindNormalizeString() : nullptr;
  int composedCount = normalize ? normalize(NORMALIZATION_C, given, count, composed, ROOM) : 0;
  if (composedCount > 0)
    Utf16ToUtf8(reinterpret_cast<const char16_t*>(composed), static_cast<size_t>(composedCount), out, size);
  else
    Utf16ToUtf8(reinterpret_cast<const char16_t*>(given), static_cast<size_t>(count), out, size);
}
