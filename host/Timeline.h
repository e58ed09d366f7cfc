// One line per event on standard output, stamped with the seconds since start.
#pragma once

#include <string>
#include <vector>

void TimelineStart();
// For a second process that prints on the same timeline as the first.
long long TimelineStartCount();
void TimelineStartAt(long long startCount);
void Event(const char* format, ...) __attribute__((format(printf, 1, 2)));
struct TimelineEvent {
  double seconds;
  std::string text;
};
const std::vector<TimelineEvent>& TimelineEvents();
// Called with every event as it is printed (the interactive window shows them).
void SetEventListener(void (*listener)(const TimelineEvent& event));

// Whether an event line containing text has been printed since index `from`.
bool EventSeen(const std::string& text, size_t from);
size_t EventCount();
// Bytes as printable text: printable ASCII as is, others as \xHH.
std::string Escaped(const unsigned char* bytes, size_t length);
