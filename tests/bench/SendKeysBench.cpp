// Runs a corpus of key sequences through the parser and synthesis with a
// counting port; prints events per second and the allocations per call.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "portable/keys/SendKeys.h"

extern unsigned long long g_events;

// Counts every allocation made through operator new: the keystroke library
// uses no C allocation, so this is every allocation it could make.
static unsigned long long g_allocations;
void* operator new(std::size_t size) {
  ++g_allocations;
  if (void* block = std::malloc(size ? size : 1)) return block;
  std::abort();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }

int main() {
  const char* corpus[] = {
      "^{ENTER}^{ENTER}",
      "Hello World 123",
      "+(hello world){TAB 3}{ENTER}",
      "%{F4}^{HOME}+{END}{DEL}",
      "{VKEY 321}{NUMPAD5 4}{LEFT 8}{PGDN}",
      "{enter}{Enter}{ENTER}{BoGuS}{}}~",
      "@r{DELAY 0}notepad~",
  };
  const int kCalls = 2000000;
  unsigned long long before = g_allocations;
  auto start = std::chrono::steady_clock::now();
  int ok = 0;
  for (int i = 0; i < kCalls; ++i) ok += SendKeys(corpus[i % 7], 0);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  unsigned long long allocations = g_allocations - before;
  std::printf("SendKeys: %d calls, %llu events in %.3f s\n", kCalls, g_events, seconds);
  std::printf("  %.1f million events/s, %.0f ns per call\n", g_events / seconds / 1e6, seconds / kCalls * 1e9);
  std::printf("  allocations during the calls: %llu (%.3f per call)\n", allocations,
              static_cast<double>(allocations) / kCalls);
  return ok == kCalls && allocations == 0 ? 0 : 1;
}
