// Windows dates the session's last input, Lullex's own keys included: what
// that date says of the person. Every reader of it (a look, the watching
// thread, a late look's judgement of the quiet stretch, the pause a departure
// waits for) asks this one rule. No Windows here.
#pragma once

#include <cstdint>

// Windows dates an own key's press and release within this of the moment
// Lullex noted it.
const int32_t OWN_INPUT_SLACK_MS = 100;

// Words only: the host's thread writes it, the watching thread reads it.
struct OwnInputNote {
  uint32_t typedAt;  // Lullex's last own key; 0: none yet
  // The person's last input before that key, as Windows dated it just before.
  uint32_t personsBefore;
};

// Lullex is about to type a key of its own, at `now`; `windowsDate` is
// Windows' date of the last input just before it.
void NoteOwnKey(OwnInputNote& note, uint32_t windowsDate, uint32_t now);

// Whether Windows' date is that of one of Lullex's own keys.
bool IsOwnInput(const OwnInputNote& note, uint32_t windowsDate);

// The person's last input: Windows' date, or where that is an own key, the
// later of the person's input before it and the person's last key or click
// that reached FileMaker's thread (`threadInputSeen`, at `threadInputAt`).
uint32_t PersonsLastInputFrom(const OwnInputNote& note, uint32_t windowsDate, bool threadInputSeen,
                              uint32_t threadInputAt);
