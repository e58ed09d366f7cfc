#include "FileVersion.h"

std::string FileVersionOf(HMODULE module) {
  char path[MAX_PATH];
  DWORD ignored = 0;
  if (!GetModuleFileNameA(module, path, MAX_PATH)) return "";
  std::string info(GetFileVersionInfoSizeA(path, &ignored), '\0');
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT size = 0;
  if (info.empty() || !GetFileVersionInfoA(path, 0, static_cast<DWORD>(info.size()), &info[0]) ||
      !VerQueryValueA(&info[0], "\\", reinterpret_cast<void**>(&fixed), &size) || !fixed)
    return "";
  return std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
         std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionLS));
}
