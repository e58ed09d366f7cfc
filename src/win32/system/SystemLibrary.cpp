#include "win32/system/SystemLibrary.h"

HMODULE LoadSystemLibrary(const wchar_t* name) {
  WCHAR path[MAX_PATH];
  UINT folder = GetSystemDirectoryW(path, MAX_PATH);
  size_t nameLength = lstrlenW(name);
  if (folder == 0 || folder + 1 + nameLength >= MAX_PATH) return nullptr;
  path[folder] = L'\\';
  lstrcpyW(path + folder + 1, name);
  // A full path is searched nowhere else; the altered search path takes the
  // library's own imports from its folder too, not from the host's.
  return LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
