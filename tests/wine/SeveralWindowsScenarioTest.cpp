// End to end (see HostScenarioTest.cpp): several windows: today's FileMaker
// gives each document a window of its own.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "HostRun.h"
#include "ScenarioSteps.h"

namespace several_windows {

// The text of the n-th "windows:" line: the visible record windows, top first.
std::string WindowsLine(const HostRun& run, int n) {
  for (const Line& line : run.lines)
    if (line.text.compare(0, 9, "windows: ") == 0 && --n == 0) return line.text;
  return "(no windows line " + std::to_string(n) + ")";
}

TEST(HostWindowsScenario, TheLockHidesEveryHostWindowAndGivesThemAllBack) {
  HostRun run = RunHost(Join({WithPw({
                                  "call Lulx-ActivateRecordLullex 1",
                                  "window Invoices",
                                  "card Lookup",
                                  "focus Invoices",
                                  "type abc",
                                  "waitfor 8000 record committed #2",
                                  "windows",
                                  "call Lulx-LockNow",
                                  WaitForLock(5000),
                                  "windows",
                                  "say the host opens a window during the lock",
                                  "window Messages",
                                  "waitfor 3000 window \"Messages\" hidden",
                                  "windows",
                              }),
                              TypingPw(),
                              {"wait 300", "windows", "quit"}}));
  ASSERT_EQ(run.exitCode, 0) << run.All();
  // The record limit commits in the window the user types in, and nowhere else.
  EXPECT_EQ(run.Count("record committed #1 (edited): \"abc\" in \"Invoices\""), 1) << run.All();
  EXPECT_EQ(run.Count(" in \"Contacts\""), 0) << "no key into the first document window" << run.All();
  EXPECT_EQ(WindowsLine(run, 1), "windows: \"Invoices\" active, \"Lookup\", \"Contacts\"");
  EXPECT_EQ(WindowsLine(run, 2), "windows: none") << "the lock hides all three" << run.All();
  EXPECT_TRUE(run.Before("window \"Messages\" shown", "window \"Messages\" hidden"));
  EXPECT_EQ(WindowsLine(run, 3), "windows: none") << "nothing new shows beside the lock";
  EXPECT_EQ(run.Count(kLockUp), 1);
  EXPECT_TRUE(run.Before("-- typing the password", kLockGone));
  EXPECT_EQ(WindowsLine(run, 4), "windows: \"Invoices\" active, \"Messages\", \"Lookup\", \"Contacts\"")
      << "all four back in their order, the one in use in front" << run.All();
}

// Whatever ends the lock, no window of the host stays hidden.
TEST(HostWindowsScenario, NoLockLeavesAHostWindowHiddenForGood) {
  const Steps locked = WithPw({"window Invoices", "focus record", "call Lulx-LockNow", WaitForLock(5000), "windows"});
  auto with = [&locked](const Steps& rest) { return RunHost(Join({locked, rest})); };
  // The plug-in shut down and unloaded while the lock is up.
  HostRun unloaded = with({"shutdown", "unload", "wait 300", "windows", "wait 1000", "quit"});
  ASSERT_EQ(unloaded.exitCode, 0) << unloaded.All();
  EXPECT_EQ(WindowsLine(unloaded, 1), "windows: none") << unloaded.All();
  EXPECT_TRUE(unloaded.Before("plug-in unloaded", WindowsLine(unloaded, 2)));
  EXPECT_EQ(WindowsLine(unloaded, 2), "windows: \"Contacts\" active, \"Invoices\"") << unloaded.All();
  EXPECT_EQ(unloaded.Count(kLockGone), 1);

  // A hidden window closed during the lock, and a second lock asked for: the
  // lock holds until its password and gives back what is left.
  HostRun closed = with(
      Join({{"closewindow Invoices", "call Lulx-LockNow", "wait 600"}, TypingPw(), {"wait 300", "windows", "quit"}}));
  ASSERT_EQ(closed.exitCode, 0) << closed.All();
  EXPECT_TRUE(closed.Before("-- typing the password", kLockGone)) << "closing a window never ends the lock";
  EXPECT_EQ(closed.Count(kLockUp), 1);
  EXPECT_EQ(WindowsLine(closed, 2), "windows: \"Contacts\" active") << closed.All();

  // The host quits while the lock is up: its windows stay hidden until it
  // shuts the plug-in down on its way out, which gives them back.
  HostRun quit = with({"postquit 0"});
  ASSERT_EQ(quit.exitCode, 0) << quit.All();
  EXPECT_EQ(quit.Count("host's loop ended by WM_QUIT 0, main window hidden"), 1) << quit.All();
  EXPECT_TRUE(quit.Before("host's loop ended", "window \"Invoices\" shown", 1, 2));
  EXPECT_TRUE(quit.Before("host's loop ended", "main window shown", 1, 2));
}

// Closing windows, the one Lullex was armed in first, never switches the guard off.
TEST(HostWindowsScenario, TheGuardOutlivesEveryWindowThatCloses) {
  HostRun run =
      RunHost(ThenUnlockWithPw(Join({WithPw({
                                         "call Lulx-SetLockWarning 2",
                                         "window Notes",
                                         "window Archive",
                                         "window Invoices",
                                         "call Lulx-ActivateRecordLullex 1",
                                         "call Lulx-ActivateFileMakerLullex 5",
                                         "type abc",
                                         "waitfor 8000 record committed #2",
                                         "say closing the window in use during the commit's restore",
                                         "closewindow Invoices",
                                         "focus record",
                                         "type x",
                                         "waitfor 8000 lock warning \"This workstation locks in 2 s.\"",
                                         "say closing a window during the warning",
                                         "closewindow Notes",
                                         "waitfor 8000 " + std::string(kLockUp),
                                         "say closing a window during the lock",
                                         "closewindow Archive",
                                         "wait 500",
                                     }),
                                     TypingPw(),
                                     {"wait 300", "windows", "type y", "waitfor 8000 record committed #6"}})));
  ASSERT_EQ(run.exitCode, 0) << run.All();
  EXPECT_EQ(run.Count("record committed #1 (edited): \"abc\" in \"Invoices\""), 1) << run.All();
  EXPECT_EQ(run.Count("record committed #3 (edited): \"x\" in \"Contacts\""), 1) << "in the window left" << run.All();
  EXPECT_TRUE(run.Before("-- closing a window during the warning", kLockUp));
  EXPECT_TRUE(run.Before("-- typing the password", kLockGone)) << "the lock holds until its password";
  EXPECT_EQ(WindowsLine(run, 1), "windows: \"Contacts\" active") << run.All();
  EXPECT_EQ(run.Count("record committed #5 (edited): \"xy\" in \"Contacts\""), 1) << "still guarded" << run.All();
  EXPECT_EQ(run.Count(kLockUp), 2) << run.All();
}

}  // namespace several_windows
