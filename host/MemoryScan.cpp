#include "MemoryScan.h"

#include <windows.h>

#include <cstring>

namespace {

bool Readable(const MEMORY_BASIC_INFORMATION& region) {
  const DWORD READABLE = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE |
                         PAGE_EXECUTE_WRITECOPY;
  // The process's own allocations (heaps, stacks), where a copy would stay;
  // not the files mapped in.
  return region.State == MEM_COMMIT && region.Type == MEM_PRIVATE && (region.Protect & READABLE) &&
         !(region.Protect & (PAGE_GUARD | PAGE_NOACCESS));
}

}  // namespace

int CountUtf16CopiesInMemory(const std::string& utf8) {
  int units = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), static_cast<int>(utf8.size()), nullptr, 0);
  if (units <= 0) return -1;
  size_t bytes = units * sizeof(WCHAR);
  // The search's own copy, out of every other allocation.
  char* needle = static_cast<char*>(VirtualAlloc(nullptr, bytes, MEM_COMMIT, PAGE_READWRITE));
  if (!needle) return -1;
  MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), static_cast<int>(utf8.size()), reinterpret_cast<WCHAR*>(needle), units);
  int copies = 0;
  MEMORY_BASIC_INFORMATION region;
  for (char* at = nullptr; VirtualQuery(at, &region, sizeof region) == sizeof region;) {
    char* base = static_cast<char*>(region.BaseAddress);
    if (Readable(region) && base != needle) {
      const char* end = base + region.RegionSize;
      for (const char* p = base; p + bytes <= end; p += sizeof(WCHAR))
        if (p[0] == needle[0] && std::memcmp(p, needle, bytes) == 0) ++copies;
    }
    char* next = base + region.RegionSize;
    if (next <= at) break;
    at = next;
  }
  VirtualFree(needle, 0, MEM_RELEASE);
  return copies;
}
