#include "HostHandles.h"

#include <cstdlib>
#include <cstring>

namespace {

const int16_t OUT_OF_MEMORY = -108;
bool g_resizeFails;
int16_t g_status;
int g_resizes;

void FM_STDCALL Resize(FMHandle handle, int32_t size) {
  ++g_resizes;
  if (g_resizeFails || size < 0) {
    g_status = OUT_OF_MEMORY;
    return;
  }
  FakeHandle* h = reinterpret_cast<FakeHandle*>(handle);
  size_t allocated = size > 0 ? static_cast<size_t>(size) : 1;
  unsigned char* moved = static_cast<unsigned char*>(std::malloc(allocated));
  std::memset(moved, 0xEE, allocated);
  std::memcpy(moved, h->bytes, static_cast<size_t>(size < h->size ? size : h->size));
  std::free(h->bytes);
  h->bytes = moved;
  h->size = size;
  g_status = 0;
}

int32_t FM_STDCALL Size(FMHandle handle) { return reinterpret_cast<FakeHandle*>(handle)->size; }

int16_t FM_STDCALL Status() { return g_status; }

}  // namespace

FakeHandle::FakeHandle(const std::string& content)
    : bytes(static_cast<unsigned char*>(std::malloc(content.size() + 1))), size(static_cast<int32_t>(content.size())) {
  std::memcpy(bytes, content.data(), content.size());
}

FakeHandle::~FakeHandle() { std::free(bytes); }

HostCallbacks FakeHostCallbacks() { return {Resize, Size, Status}; }

void SetFakeResizeFails(bool fail) { g_resizeFails = fail; }

int FakeResizeCount() { return g_resizes; }
