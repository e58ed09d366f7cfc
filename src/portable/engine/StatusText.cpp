#include "portable/engine/StatusText.h"

#include <iterator>

#include "portable/engine/WindowsKeyboard.h"
#include "portable/text/TextBuffer.h"

namespace {

// "name=value" pieces, separated by ";".
class StatusLine {
 public:
  StatusLine(char* text, size_t size) : text_(text, size) {}
  void Add(const char* name, int32_t value) { Name(name).AddNumber(value); }
  void Add(const char* name, const char* value) { Name(name).Add(value); }

 private:
  TextBuffer& Name(const char* name) {
    if (!first_) text_.Add(";");
    first_ = false;
    return text_.Add(name).Add("=");
  }
  TextBuffer text_;
  bool first_ = true;
};

// By PasswordKind.
const char* const PASSWORD_KINDS[] = {"none", "plain", "digest"};
static_assert(std::size(PASSWORD_KINDS) == static_cast<size_t>(PasswordKind::Digest) + 1, "a name for each kind");

int32_t SecondsOrOff(int32_t seconds) { return seconds < 1 ? 0 : seconds; }

}  // namespace

void FormatStatus(const GuardState& state, const IdleFigures& idle, char* text, size_t size, bool modern) {
  if (size == 0) return;
  const Settings& s = state.settings;
  StatusLine line(text, size);
  line.Add("record", SecondsOrOff(s.recordLimitSeconds));
  line.Add("recordidle", idle.recordSeconds);
  line.Add("filemaker", SecondsOrOff(s.fileMakerLimitSeconds));
  line.Add("filemakeridle", idle.fileMakerSeconds);
  line.Add("background", s.countInBackground ? 1 : 0);
  line.Add("immediate", s.commitOnLeaving ? 1 : 0);
  line.Add("warning", SecondsOrOff(s.lockWarningSeconds));
  line.Add("locked", state.lockIsUp ? 1 : 0);
  if (modern) {
    line.Add("scripterror", state.eventScript.lastStartError);
    line.Add("password", PASSWORD_KINDS[static_cast<int>(s.passwordKind)]);
    line.Add("users", s.unlockUsers.count);
    // Whether the last typed commit closed the record, once FileMaker has told.
    if (state.commit.lastTook != CommitTook::Unknown)
      line.Add("committed", state.commit.lastTook == CommitTook::Yes ? 1 : 0);
    if (s.lockWithWindows) line.Add("withwindows", 1);
  }
  if (WindowsHoldsKeyboard(state.windows)) line.Add("windows", "locked");
}
