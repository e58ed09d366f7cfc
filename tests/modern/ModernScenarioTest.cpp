// End to end, today's FileMaker only: a Unicode password typed at the lock, and
// the hosts that must not enable the plug-in.
#include <gtest/gtest.h>

#include "HostRun.h"

namespace {

TEST(ModernHostScenario, AUnicodePasswordIsTypedBackExactly) {
  HostRun run = RunHost({
      "init",
      "call Lulx-SetWorkstationPassword Пароль-Δ7 ™",
      "call Lulx-LockNow",
      "waitfor 8000 window \"Please Login\" appeared",
      "say a wrong one first: the last character missing",
      "type Пароль-Δ7 ",
      "key ENTER",
      "waitfor 5000 window \"Incorrect password\" appeared",
      "key ENTER",
      "waitfor 5000 window \"Incorrect password\" gone",
      "type Пароль-Δ7 ™",
      "key ENTER",
      "waitfor 5000 window \"Please Login\" gone",
      "quit",
  });
  ASSERT_EQ(run.exitCode, 0) << run.All();
  EXPECT_EQ(run.Count("-> reply \"0\""), 2) << run.All();
  EXPECT_EQ(run.Count("window \"Incorrect password\" appeared"), 1) << run.All();
  EXPECT_TRUE(run.Before("window \"Incorrect password\" gone", "window \"Please Login\" gone"));
}

TEST(ModernHostScenario, HostsThatMustNotEnableItAreRefused) {
  struct Case {
    const char* options;
    const char* subfolder;
    const char* init;
  } cases[] = {
      {"", "", "init -> 77, 9 functions registered"},
      {"--api 55", "", "init -> 77, 9 functions registered"},
      {"--app-kind 7", "", "init -> -2, 0 functions registered"},  // server scripting
      {"--app-kind 9", "", "init -> -2, 0 functions registered"},  // the Data API
      {"", "lacking", "init -> -2, 0 functions registered"},       // FMWrapper.dll lacks FM_Text_GetUnicode
      {"--api 52", "", "init -> -1, 0 functions registered"},      // older than 64-bit plug-ins
  };
  for (const Case& c : cases) {
    HostRun run =
        RunHost({"init", "call Lulx-Version", "shutdown", "unload", "wait 500", "quit"}, c.options, c.subfolder);
    ASSERT_EQ(run.exitCode, 0) << c.options << c.subfolder << run.All();
    EXPECT_EQ(run.Count(c.init), 1) << c.options << c.subfolder << run.All();
    bool enabled = std::string(c.init).find("9 functions") != std::string::npos;
    EXPECT_EQ(run.Count("call Lulx-Version(\"\") -> reply \"Lullex v1.91\""), enabled ? 1 : 0) << run.All();
    EXPECT_EQ(run.Count("shutdown call returned, 0 functions registered"), 1) << run.All();
    EXPECT_EQ(run.Count("script finished"), 1) << run.All();
  }
}

}  // namespace
