// UTF-16, as today's FileMaker and Windows hand text over, to UTF-8, as the
// plug-in keeps it.
#pragma once

#include <cstddef>

// Characters in count UTF-16 units: a surrogate pair is one character.
size_t CountCharacters(const char16_t* units, size_t count);

// Writes the count units as NUL-terminated UTF-8 into out (size bytes, at
// least 1), stopping before a character that does not fit. An unpaired
// surrogate becomes U+FFFD, as Windows converts it. Returns the bytes written,
// the terminator not counted.
size_t Utf16ToUtf8(const char16_t* units, size_t count, char* out, size_t size);

// The code point of the UTF-8 character at text[i] (NUL-terminated text); i
// moves past it. A byte that starts no valid character is U+FFFD, one byte long.
char32_t NextUtf8CodePoint(const char* text, size_t& i);

// Writes NUL-terminated UTF-8 text (as the plug-in keeps it) as UTF-16 units
// into out, at most room units, stopping before a character that does not
// fit; writes no terminator. A byte that starts no valid character becomes
// U+FFFD. Returns the units written.
size_t Utf8ToUtf16(const char* text, char16_t* out, size_t room);
