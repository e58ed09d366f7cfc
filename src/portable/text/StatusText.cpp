#include "portable/text/StatusText.h"

#include <charconv>
#include <cstring>

namespace {

// Appends "name=value;" pieces to a text of a fixed size, never past its end.
class StatusLine {
 public:
  StatusLine(char* text, size_t size) : next_(text), end_(text + size - 1) { *next_ = '\0'; }
  void Add(const char* name, int32_t value) {
    if (!first_) Put(";", 1);
    first_ = false;
    Put(name, std::strlen(name));
    Put("=", 1);
    char digits[16];
    std::to_chars_result r = std::to_chars(digits, digits + sizeof digits, value);
    Put(digits, static_cast<size_t>(r.ptr - digits));
  }

 private:
  void Put(const char* bytes, size_t length) {
    size_t room = static_cast<size_t>(end_ - next_);
    if (length > room) length = room;
    std::memcpy(next_, bytes, length);
    next_ += length;
    *next_ = '\0';
  }
  char* next_;
  char* end_;
  bool first_ = true;
};

int32_t SecondsOrOff(int32_t seconds) { return seconds < 1 ? 0 : seconds; }

}  // namespace

void FormatStatus(const GuardState& state, char* text, size_t size, bool withScriptError) {
  if (size == 0) return;
  const Settings& s = state.settings;
  StatusLine line(text, size);
  line.Add("record", SecondsOrOff(s.recordLimitSeconds));
  line.Add("recordidle", state.recordIdle.ticks / TICKS_PER_SECOND);
  line.Add("filemaker", SecondsOrOff(s.fileMakerLimitSeconds));
  line.Add("filemakeridle", state.fileMakerIdle.ticks / TICKS_PER_SECOND);
  line.Add("background", s.countInBackground ? 1 : 0);
  line.Add("immediate", s.commitOnLeaving ? 1 : 0);
  line.Add("warning", SecondsOrOff(s.lockWarningSeconds));
  line.Add("locked", state.lockIsUp ? 1 : 0);
  if (withScriptError) line.Add("scripterror", state.eventScript.lastStartError);
}
