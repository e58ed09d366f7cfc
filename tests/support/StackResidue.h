// Whether bytes are still lying in this thread's stack below the caller's
// frame: what the functions it called left in theirs after they returned.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstddef>

__attribute__((noinline)) inline bool LeftOnStack(const void* bytes, size_t size) {
  volatile char here = 0;
  const char* top = const_cast<const char*>(&here);
  MEMORY_BASIC_INFORMATION region;
  if (!VirtualQuery(top, &region, sizeof region)) return false;
  // The committed part of the stack that holds this frame, up to this frame.
  const char* bottom = static_cast<const char*>(region.BaseAddress);
  const char* needle = static_cast<const char*>(bytes);
  return std::search(bottom, top, needle, needle + size) != top;
}

// Copies bytes into a frame of its own and returns without wiping them: what
// LeftOnStack must find, so that a search that sees nothing proves something.
__attribute__((noinline)) inline void LeaveOnStack(const void* bytes, size_t size) {
  volatile char copy[1024];
  const char* from = static_cast<const char*>(bytes);
  for (size_t i = 0; i < size && i < sizeof copy; ++i) copy[i] = from[i];
}
