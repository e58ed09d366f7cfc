// FileMaker Pro's handles as the stand-in makes them, shared with the tests and
// the fuzzers: a block whose first field is the master pointer, so that a
// pointer to the block is the handle, and the host's three handle callbacks.
#pragma once

#include <cstdint>
#include <string>

#include "portable/classic/HostHandle.h"

struct FakeHandle {
  unsigned char* bytes;  // the master pointer: first, so &bytes is the handle
  int32_t size;

  explicit FakeHandle(const std::string& content = "");
  ~FakeHandle();
  FakeHandle(const FakeHandle&) = delete;
  FakeHandle& operator=(const FakeHandle&) = delete;

  FMHandle Handle() { return &bytes; }
  std::string Content() const { return std::string(reinterpret_cast<const char*>(bytes), size); }
};

// Resize (which always moves the bytes, so that a stale master pointer shows),
// size and the status of the last resize.
HostCallbacks FakeHostCallbacks();
// From now on every resize fails with an out-of-memory status.
void SetFakeResizeFails(bool fail);
int FakeResizeCount();
