// The status line of Lulx-Status.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "portable/engine/StatusText.h"

namespace {

GuardState Fresh() {
  GuardState state;
  std::memset(&state, 0, sizeof state);
  return state;
}

std::string Status(const GuardState& state, bool withScriptError = false) {
  char text[STATUS_TEXT_SIZE];
  IdleFigures idle = {state.recordIdle.ticks / TICKS_PER_SECOND, state.fileMakerIdle.ticks / TICKS_PER_SECOND};
  FormatStatus(state, idle, text, sizeof text, withScriptError);
  return text;
}

TEST(StatusText, AFreshStartIsAllZero) {
  EXPECT_EQ(Status(Fresh()),
            "record=0;recordidle=0;filemaker=0;filemakeridle=0;background=0;immediate=0;warning=0;locked=0");
}

TEST(StatusText, SettingsAndWholeIdleSeconds) {
  GuardState s = Fresh();
  s.settings.recordLimitSeconds = 120;
  s.recordIdle.ticks = 151;  // 37.75 s
  s.settings.fileMakerLimitSeconds = 600;
  s.fileMakerIdle.ticks = 148;
  s.settings.commitOnLeaving = true;
  s.settings.lockWarningSeconds = 30;
  EXPECT_EQ(Status(s),
            "record=120;recordidle=37;filemaker=600;filemakeridle=37;background=0;immediate=1;warning=30;locked=0");
  s.settings.countInBackground = true;
  s.lockIsUp = true;
  s.settings.recordLimitSeconds = -5;  // off
  EXPECT_EQ(Status(s),
            "record=0;recordidle=37;filemaker=600;filemakeridle=37;background=1;immediate=1;warning=30;locked=1");
}

TEST(StatusText, NeverThePasswordAndNeverPastTheBuffer) {
  GuardState s = Fresh();
  std::strcpy(s.settings.password, "Secret99");
  s.settings.recordLimitSeconds = s.settings.fileMakerLimitSeconds = s.settings.lockWarningSeconds = 536870911;
  s.recordIdle.ticks = s.fileMakerIdle.ticks = 2147483644;
  s.eventScript.lastStartError = -32768;
  s.settings.passwordKind = PasswordKind::Digest;
  s.settings.unlockUsers.count = MOST_UNLOCK_USERS;
  s.commit.lastTook = CommitTook::No;
  s.windows.locked = true;
  s.settings.lockWithWindows = true;
  std::string full = Status(s, true);
  EXPECT_EQ(full.substr(full.size() - 85),
            ";scripterror=-32768;password=digest;users=32;committed=0;withwindows=1;windows=locked")
      << "the longest line still fits whole";
  s.commit.lastTook = CommitTook::Unknown;
  s.windows.locked = s.settings.lockWithWindows = false;
  full = Status(s, true);
  s.settings.passwordKind = PasswordKind::Plain;
  EXPECT_EQ(Status(s, true).substr(full.size() - 24), "password=plain;users=32");
  s.settings.passwordKind = PasswordKind::None;
  EXPECT_EQ(Status(Fresh(), true).substr(93), ";scripterror=0;password=none;users=0");
  EXPECT_EQ(full.find("Secret"), std::string::npos);
  EXPECT_LT(full.size(), STATUS_TEXT_SIZE);
  char small[20];
  std::memset(small, 'x', sizeof small);
  FormatStatus(s, {}, small, 12, true);
  EXPECT_STREQ(small, "record=5368");
  EXPECT_EQ(small[12], 'x') << "nothing written past the size given";
}

}  // namespace
