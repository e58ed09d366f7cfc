// The lock against what else happens while it is up, end to end in both modern
// hosts: FileMaker shutting the plug-in down in the middle of a check, a person
// opening the list of names, a script removing a person, another program
// posting the login's timer or a WM_QUIT.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HostRun.h"

namespace {

const char UP[] = "waitfor 8000 window \"Please Login\" appeared";
const char GONE[] = "waitfor 8000 window \"Please Login\" gone";

// A slow digest: some 4 s of deriving under Wine on an idle machine (2.6 s
// for 2,000,000 rounds, which a shutdown 1.5 s in once missed), which outlasts
// the shutdown and the unload, yet ends well within the wait below on a busy
// 2-core machine (the most rounds a digest may ask for, 10,000,000, took over
// 60 s there). The hash is of no password: every try is wrong, and takes the
// whole time.
const char SLOWEST_DIGEST[] =
    "$pbkdf2-sha256$i=3000000$AAECAwQFBgcICQoLDA0ODw$W4XNFZZ3COSNHgmJenzOpSR2FWdRZMHQ0M8Rz6vA9NE";

TEST(LockResilience, AShutdownDuringACheckLeavesNothingOfTheCheckBehind) {
  HostRun run = RunHost(
      {
          "init",
          std::string("call Lulx-SetWorkstationPasswordDigest ") + SLOWEST_DIGEST,
          "call Lulx-SetEventScript Contacts;Lullex Audit",
          "call Lulx-LockNow",
          UP,
          "type nope",
          "key ENTER",
          "wait 500",
          "say FileMaker shuts the plug-in down from inside the check's loop, then frees it",
          "shutdown",
          "unload",
          "say the host's loop goes on until the check's thread lets the plug-in go",
          "waitseen 60000 plug-in no longer mapped",
          "quit",
      },
      "--timeout 150000");
  ASSERT_EQ(run.exitCode, 0) << "no crash, every wait met" << run.All();
  EXPECT_EQ(run.Count("-> reply \"0\""), 3) << run.All();
  EXPECT_EQ(run.Count("window \"Please Login\" appeared"), 1) << run.All();
  EXPECT_EQ(run.Count("window \"Incorrect password\" appeared"), 0) << "no refusal for a guard that is gone";
  EXPECT_EQ(run.Count("ran with parameter"), 0) << "no event" << run.All();
  EXPECT_TRUE(run.Before("-- FileMaker shuts", "window \"Please Login\" gone"));
  EXPECT_EQ(run.CountBetween("main window shown", "-- FileMaker shuts", "plug-in unloaded"), 1) << run.All();
  // The shutdown returned at once, and the loop with it: FileMaker could free the library.
  EXPECT_LT(run.At("plug-in unloaded") - run.At("-- FileMaker shuts"), 5.0) << run.All();
  EXPECT_EQ(run.Count("plug-in still mapped after FreeLibrary"), 1) << "the check's thread holds it" << run.All();
  EXPECT_TRUE(run.Before("plug-in unloaded", "plug-in no longer mapped")) << "and lets it go when it ends";
}

// A shared desk: names as people see them, the list of names opened and kept
// open, and a person removed while the lock is up.
TEST(LockResilience, TheNameListStaysOpenAndARemovedPersonOpensNothing) {
  std::vector<std::string> script = {
      "init",
      "call Lulx-SetWorkstationPassword desk pass",
      "call Lulx-PasswordDigest ann pass",
      "call Lulx-SetUnlockUser Ann;{reply}",
      "call Lulx-PasswordDigest ann pass",
      "call Lulx-SetUnlockUser Ann\\xE2\\x80\\x8B;{reply}",  // a zero-width space: refused
      "call Lulx-PasswordDigest ann pass",
      "call Lulx-SetUnlockUser \\xC2\\xA0Ann;{reply}",  // a no-break space first: refused
      "call Lulx-PasswordDigest elo pass",
      "call Lulx-SetUnlockUser E\\xCC\\x81lodie;{reply}",  // a combining accent
      "call Lulx-PasswordDigest elo pass",
      "call Lulx-SetUnlockUser \\xC3\\x89LODIE;{reply}",  // the same person, composed, in capitals
      "call Lulx-PasswordDigest bo pass",
      "call Lulx-SetUnlockUser Bo;{reply}",
      "call Lulx-Status",
      "call Lulx-LockNow",
      UP,
      "say a script removes Bo while the lock is up",
      "call Lulx-SetUnlockUser Bo;",
      "namelist open",
      "wait 1000",
      "namelist",
      "choose Bo",
      "key ENTER",
      "key TAB",
      "type bo pass",
      "key ENTER",
      "waitfor 8000 window \"Incorrect password\" appeared",
      "key ENTER",
      "waitfor 5000 window \"Incorrect password\" gone",
      "namelist open",
      "wait 1000",
      "namelist",
      "choose \\xC3\\x89LODIE",
      "key ENTER",
      "key TAB",
      "type elo pass",
      "key ENTER",
      GONE,
      "quit",
  };
  HostRun run = RunHost(script);
  ASSERT_EQ(run.exitCode, 0) << run.All();
  EXPECT_EQ(run.Count("-> reply \"$$001$$\""), 2) << "the two names that show what they are not" << run.All();
  EXPECT_EQ(run.Count("password=plain;users=3\""), 1) << "one Élodie, however her accent was typed" << run.All();
  EXPECT_EQ(run.Count("name list: drop-down shown, dropped, focus in the box"), 2) << run.All();
  EXPECT_EQ(run.Count("user chooses \"Bo\" in the login's list [Ann | \xC3\x89LODIE | Bo | Workstation]"), 1)
      << "the people of the lock's start" << run.All();
  EXPECT_EQ(run.Count("window \"Incorrect password\" appeared"), 1) << "Bo, removed, opens nothing" << run.All();
  EXPECT_EQ(run.Count("window \"Please Login\" gone"), 1) << run.All();
}

// Another program posts the login's timer to skip the wait, then a WM_QUIT to
// end the login: neither opens anything.
TEST(LockResilience, PostedMessagesNeitherShortenTheWaitNorShowTheHost) {
  std::vector<std::string> script = {"init", "call Lulx-SetWorkstationPassword pw", "call Lulx-LockNow", UP};
  for (int i = 0; i < 4; ++i)  // the fourth makes the next try wait 2 s
    script.insert(script.end(), {"type nope", "key ENTER", "waitfor 8000 window \"Incorrect password\" appeared",
                                 "key ENTER", "waitfor 5000 window \"Incorrect password\" gone"});
  const std::string waiting = "login prompt \"Try again in 2 s.\", field disabled",
                    enabled = "login prompt \"Enter your password to enable this station.\", field enabled";
  script.insert(script.end(), {"posttimer 30", "waitfor 8000 " + enabled, "postquit 77", "wait 5000", "quit"});
  HostRun run = RunHost(script);
  ASSERT_EQ(run.exitCode, 77) << "the WM_QUIT handed on to the host's loop" << run.All();
  ASSERT_EQ(run.Count(waiting), 1) << run.All();
  ASSERT_EQ(run.Count(enabled), 2) << "as the lock opened, and after the wait" << run.All();
  EXPECT_TRUE(run.Before(waiting, "another program posts 30 WM_TIMER 1140 to the login"));
  EXPECT_TRUE(run.Before("login prompt \"Try again in 1 s.\", field disabled", enabled, 1, 2))
      << "the timer still repaints the countdown";
  EXPECT_GE(run.At(enabled, 2) - run.At(waiting), 1.5) << "the 2 s run in real time" << run.All();
  EXPECT_EQ(run.Count("host's loop ended by WM_QUIT 77, main window hidden"), 1) << run.All();
  EXPECT_EQ(run.CountBetween("main window shown", "WM_QUIT 77 posted", "host's loop ended"), 0) << run.All();
  EXPECT_EQ(run.Count("after the shutdown, main window shown"), 1) << "FileMaker's shutdown gives it back" << run.All();
}

}  // namespace
