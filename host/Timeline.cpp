#include "Timeline.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace {
LARGE_INTEGER g_start, g_frequency;
std::vector<TimelineEvent> g_events;
void (*g_listener)(const TimelineEvent&);
}  // namespace

void TimelineStart() {
  QueryPerformanceFrequency(&g_frequency);
  QueryPerformanceCounter(&g_start);
}

void Event(const char* format, ...) {
  char text[2048];
  va_list args;
  va_start(args, format);
  vsnprintf(text, sizeof text, format, args);
  va_end(args);
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  double seconds = double(now.QuadPart - g_start.QuadPart) / double(g_frequency.QuadPart);
  std::printf("[%8.3f] %s\n", seconds, text);
  std::fflush(stdout);
  g_events.push_back({seconds, text});
  if (g_listener) g_listener(g_events.back());
}

const std::vector<TimelineEvent>& TimelineEvents() { return g_events; }

void SetEventListener(void (*listener)(const TimelineEvent& event)) { g_listener = listener; }

long long TimelineStartCount() { return g_start.QuadPart; }

void TimelineStartAt(long long startCount) {
  QueryPerformanceFrequency(&g_frequency);
  g_start.QuadPart = startCount;
}

bool EventSeen(const std::string& text, size_t from) {
  for (size_t i = from; i < g_events.size(); ++i)
    if (g_events[i].text.find(text) != std::string::npos) return true;
  return false;
}

size_t EventCount() { return g_events.size(); }

std::string Escaped(const unsigned char* bytes, size_t length) {
  std::string out;
  char hex[8];
  for (size_t i = 0; i < length; ++i) {
    unsigned char c = bytes[i];
    if (c >= 0x20 && c < 0x7F && c != '\\' && c != '"') {
      out += static_cast<char>(c);
    } else {
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  return out;
}
