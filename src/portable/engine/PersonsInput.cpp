#include "portable/engine/PersonsInput.h"

namespace {

// Whether a is after b on a clock that wraps.
bool After(uint32_t a, uint32_t b) { return static_cast<int32_t>(a - b) > 0; }

}  // namespace

bool IsOwnInput(const OwnInputNote& note, uint32_t windowsDate) {
  int32_t sinceOwn = static_cast<int32_t>(windowsDate - note.typedAt);
  return note.typedAt && sinceOwn > -OWN_INPUT_SLACK_MS && sinceOwn < OWN_INPUT_SLACK_MS;
}

void NoteOwnKey(OwnInputNote& note, uint32_t windowsDate, uint32_t now) {
  // A key of a series: the date before it is the key before, no one's.
  if (!IsOwnInput(note, windowsDate)) note.personsBefore = windowsDate;
  note.typedAt = now ? now : 1;
}

uint32_t PersonsLastInputFrom(const OwnInputNote& note, uint32_t windowsDate, bool threadInputSeen,
                              uint32_t threadInputAt) {
  if (!IsOwnInput(note, windowsDate)) return windowsDate;
  uint32_t persons = note.personsBefore;
  if (threadInputSeen && After(threadInputAt, persons)) persons = threadInputAt;
  return persons;
}
