// One line per event on standard output, stamped with the seconds since start.
#pragma once

#include <string>

void TimelineStart();
// For a second process that prints on the same timeline as the first.
long long TimelineStartCount();
void TimelineStartAt(long long startCount);
void Event(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Whether an event line containing text has been printed since index `from`.
bool EventSeen(const std::string& text, size_t from);
size_t EventCount();
// Bytes as printable text: printable ASCII as is, others as \xHH.
std::string Escaped(const unsigned char* bytes, size_t length);
