// End to end, FileMaker 7 and later only: the solution's event script, the
// people sharing a desk, what FileMaker says of its record, and the lock that
// comes with Windows'.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

#include "HostRun.h"

namespace {

const char kScriptRan[] = "script \"Lullex Audit\" of \"Contacts\" ran with parameter ";

// The number after "name": in a JSON line, or -1.
long JsonNumber(const std::string& line, const std::string& name) {
  size_t at = line.find("\"" + name + "\":");
  return at == std::string::npos ? -1 : std::atol(line.c_str() + at + name.size() + 3);
}

TEST(ModernHostScenario, TheEventScriptHearsTheCommitAndEachUnlockAfterwards) {
  std::vector<std::string> script = {
      "init",
      "call Lulx-SetWorkstationPassword pw",
      "call Lulx-SetEventScript Contacts;Lullex Audit",
      "call Lulx-ActivateRecordLullex 1",
      "focus record",
      "type abc",
      "waitfor 8000 " + std::string(kScriptRan),
      "type d",  // committed as the lock comes, which raises no event of its own
      "wait 400",
      "call Lulx-LockNow",
      "waitfor 5000 window \"Please Login\" appeared",
  };
  for (int i = 0; i < 2; ++i)
    for (const char* step : {"type guess", "key ENTER", "waitfor 5000 window \"Incorrect password\" appeared",
                             "key ENTER", "waitfor 5000 window \"Incorrect password\" gone"})
      script.push_back(step);
  for (const char* step : {"wait 1200", "type pw", "key ENTER", "waitfor 5000 \"event\":\"unlock\"",
                           "say switching it off", "call Lulx-SetEventScript Contacts;", "type x",
                           "waitfor 8000 record committed #6", "wait 1000", "call Lulx-Status", "quit"})
    script.push_back(step);
  HostRun run = RunHost(script);
  ASSERT_EQ(run.exitCode, 0) << run.All();
  EXPECT_EQ(run.Count("call Lulx-SetEventScript(\"Contacts;Lullex Audit\") -> reply \"0\""), 1) << run.All();
  EXPECT_EQ(run.Count(std::string(kScriptRan) +
                      "{\"event\":\"commit\",\"reason\":\"idle\",\"typed\":true,\"committed\":true} (control 3)"),
            1)
      << "the record limit's commit, once, and FileMaker said it took" << run.All();
  EXPECT_TRUE(run.Before("record committed #2", kScriptRan));
  // The lock ends when it gives the windows back; the host sees its login gone a little later.
  EXPECT_EQ(run.CountBetween(kScriptRan, "window \"Please Login\" appeared", "main window shown"), 0)
      << "nothing starts while the lock is up";
  // One event for the whole lock: the commit before it raised none of its own.
  EXPECT_TRUE(run.Before("record committed #3 (edited): \"abcd\"", "window \"Please Login\" appeared"));
  EXPECT_EQ(run.Count(kScriptRan), 2) << run.All();
  int unlock = run.Index("\"event\":\"unlock\"");
  ASSERT_GE(unlock, 0);
  const std::string& line = run.lines[unlock].text;
  EXPECT_NE(line.find("\"wrongPasswords\":2,\"cause\":\"locknow\"}"), std::string::npos) << line;
  double up = run.At("window \"Please Login\" appeared"), gone = run.At("window \"Please Login\" gone");
  EXPECT_GE(JsonNumber(line, "seconds"), 1) << "the lock was up more than a second: " << line;
  EXPECT_LE(JsonNumber(line, "seconds"), static_cast<long>(gone - up) + 1) << line;
  EXPECT_TRUE(run.Before("main window shown", "\"event\":\"unlock\"", 2)) << "after the unlock";
  EXPECT_TRUE(run.Before("record committed #2", kScriptRan)) << "after the keys of the commit";
  // Switched off: the next commit starts nothing.
  EXPECT_TRUE(run.Before("-- switching it off", "record committed #5"));
  EXPECT_EQ(run.CountBetween(kScriptRan, "-- switching it off", "script finished"), 0) << run.All();
  EXPECT_EQ(run.Count("locked=0;scripterror=0;password=plain;users=0;committed=1\""), 1) << run.All();
}

// A lock that comes while a commit waits for FileMaker's answer makes that
// commit its own: with a box of FileMaker's opened meanwhile no key can go in,
// so the script is asked to commit for the lock, which opens at once, as no
// script runs behind the box.
TEST(ModernHostScenario, ALockDuringACommitMakesTheCommitItsOwn) {
  // clang-format off
  HostRun run = RunHost({"init", "call Lulx-SetWorkstationPassword pw", "call Lulx-SetEventScript Contacts;Lullex Audit",
      "call Lulx-ActivateRecordLullex 1", "focus record", "type abc", "idleevery 60000", "wait 1600", "hostbox",
      "waitfor 3000 host box opened", "say locking", "call Lulx-LockNow", "waitfor 5000 window \"Please Login\" appeared",
      "type pw", "key ENTER", "waitfor 5000 window \"Please Login\" gone", "endhostbox", "idleevery 50",
      "waitfor 5000 script \"Lullex Audit\"", "quit"});
  // clang-format on
  ASSERT_EQ(run.exitCode, 0) << run.All();
  EXPECT_EQ(run.Count("{\"event\":\"commit\",\"reason\":\"locknow\",\"typed\":false"), 1) << run.All();
  EXPECT_LT(run.At("window \"Please Login\" appeared") - run.At("-- locking"), 2.0) << run.All();
}

// Three people and the workstation's own password at one desk: each try is
// checked against the entry chosen, and the event names who opened the lock.
TEST(ModernHostScenario, EachPersonAtASharedDeskUnlocksWithTheirOwnPassword) {
  const char up[] = "waitfor 8000 window \"Please Login\" appeared",
             gone[] = "waitfor 8000 window \"Please Login\" gone";
  const std::string bob = "Bo\"b\\\"}";  // Bo"b\"} : a quote, a backslash and the end of an object
  HostRun run = RunHost({
      "init",
      "call Lulx-SetWorkstationPassword desk pass",
      "call Lulx-SetEventScript Contacts;Lullex Audit",
      "call Lulx-PasswordDigest ann pass",
      "call Lulx-SetUnlockUser Ann;{reply}",
      "call Lulx-PasswordDigest bob pass",
      "call Lulx-SetUnlockUser Bo\\x22b\\x5C\\x22};{reply}",
      "call Lulx-PasswordDigest carl pass",
      "call Lulx-SetUnlockUser Carl;{reply}",
      "call Lulx-Status",
      "call Lulx-LockNow",
      up,
      "choose Ann",
      "type bob pass",
      "key ENTER",
      "waitfor 8000 window \"Incorrect password\" appeared",
      "key ENTER",
      "waitfor 5000 window \"Incorrect password\" gone",
      "type ann pass",
      "key ENTER",
      gone,
      "call Lulx-LockNow",
      up,
      "choose Workstation",
      "type desk pass",
      "key ENTER",
      gone,
      "call Lulx-SetUnlockUser Carl;",
      "call Lulx-LockNow",
      up,
      "choose Carl",
      "choose Bo\\x22b\\x5C\\x22}",
      "type bob pass",
      "key ENTER",
      gone,
      "wait 1500",  // the event script of the last unlock
      "quit",
  });
  ASSERT_EQ(run.exitCode, 0) << run.All();
  EXPECT_EQ(run.Count("-> reply \"$$"), 0) << "every person taken, the removal too" << run.All();
  EXPECT_EQ(run.Count("password=plain;users=3\""), 1) << run.All();
  const std::string list = "Ann | " + bob + " | Carl | Workstation";
  EXPECT_EQ(run.Count("user chooses \"Ann\" in the login's list [" + list + "], shown \"Ann\": chosen"), 1)
      << "the people in their order, then the workstation's entry; the first shown" << run.All();
  EXPECT_EQ(run.Count("window \"Incorrect password\" appeared"), 1) << "the second person's password for the first";
  EXPECT_EQ(run.Count("user chooses \"Workstation\" in the login's list [" + list + "], shown \"Ann\": chosen"), 1)
      << "who unlocked last is shown" << run.All();
  const std::string shorter = "[Ann | " + bob + " | Workstation], shown \"Workstation\"";
  EXPECT_EQ(run.Count("user chooses \"Carl\" in the login's list " + shorter + ": no such entry"), 1)
      << "removed: gone at the next lock" << run.All();
  const std::string unlock = std::string(kScriptRan) + "{\"event\":\"unlock\",";
  EXPECT_EQ(run.Count(unlock), 3) << run.All();
  EXPECT_TRUE(run.Before("\"cause\":\"locknow\",\"user\":\"Ann\"} (control 3)",
                         "\"cause\":\"locknow\",\"user\":\"\"} (control 3)"))
      << "Ann, then the workstation's password";
  EXPECT_EQ(run.Count(",\"user\":\"Bo\\\"b\\\\\\\"}\"} (control 3)"), 1) << "escaped as JSON" << run.All();
}

// FileMaker 13 and later are asked before the keys: in Find mode Ctrl+Enter
// would perform the person's half-typed find, and with no record open there
// is nothing to commit. Either way nothing is typed, nothing brought forward,
// no Escape sent, and the lock still comes. FileMaker 12 is not asked: it
// types as ever.
TEST(ModernHostScenario, NothingIsTypedWhereFileMakerSaysThereIsNoRecordToCommit) {
  const std::vector<std::string> untilUnlocked = {"init",
                                                  "call Lulx-SetWorkstationPassword pw",
                                                  "call Lulx-SetEventScript Contacts;Lullex Audit",
                                                  "call Lulx-ActivateRecordLullex 1",
                                                  "call Lulx-ActivateFileMakerLullex 3",
                                                  "mode find",
                                                  "focus record",
                                                  "type Smith",
                                                  "waitfor 8000 window \"Please Login\" appeared",
                                                  "type pw",
                                                  "key ENTER",
                                                  "waitfor 5000 window \"Please Login\" gone",
                                                  "say nothing open",
                                                  "mode browse",
                                                  "key TAB",  // back at the desk for a moment: re-armed, nothing edited
                                                  "waitfor 8000 window \"Please Login\" appeared",
                                                  "type pw",
                                                  "key ENTER",
                                                  "waitfor 5000 window \"Please Login\" gone",
                                                  "quit"};
  for (const char* options : {"", "--api 53"}) {
    bool asked = *options == '\0';
    HostRun run = RunHost(untilUnlocked, options);
    ASSERT_EQ(run.exitCode, 0) << options << run.All();
    EXPECT_EQ(run.Count("FileMaker answers Get ( WindowMode ): 1"), asked ? 1 : 0) << options << run.All();
    EXPECT_EQ(run.Count("find performed"), asked ? 0 : 2) << options << run.All();
    EXPECT_EQ(run.Count("record key 0x0D+ctrl"), asked ? 0 : 4) << "not a key" << options;
    EXPECT_EQ(run.Count("\"event\":\"commit\""), asked ? 0 : 2) << "nothing typed, nothing to hear" << options;
    EXPECT_TRUE(run.Before("-- nothing open", "window \"Please Login\" appeared", 1, 2)) << options;
  }
}

TEST(ModernHostScenario, AStartFileMakerRefusesShowsInTheStatusAndItsCommitStaysDue) {
  HostRun run = RunHost(
      {"init", "call Lulx-Status", "call Lulx-SetEventScript Contacts;Lullex Audit", "call Lulx-ActivateRecordLullex 1",
       "focus record", "type abc", "waitfor 8000 record committed #2", "wait 500", "call Lulx-Status", "quit"},
      "--start-script-error 825");
  ASSERT_EQ(run.exitCode, 0) << run.All();
  EXPECT_EQ(run.Count("ran with parameter"), 0) << run.All();
  EXPECT_TRUE(run.Before("locked=0;scripterror=0;password=none;users=0\"",
                         "locked=0;scripterror=825;password=none;users=0;committed=1\""))
      << "kept for the status line";
  // The commit Windows' lock asked of the script is still due: typed once
  // Windows gives the keyboard back.
  HostRun locked =
      RunHost({"init", "call Lulx-SetEventScript Contacts;Lullex Audit", "call Lulx-ActivateRecordLullex 2",
               "focus record", "type abc", "wait 300", "session lock", "wait 1500", "call Lulx-Status",
               "session unlock", "waitfor 5000 record committed #1", "quit"},
              "--start-script-error 825");
  ASSERT_EQ(locked.exitCode, 0) << locked.All();
  EXPECT_EQ(locked.Count("scripterror=825;password=none;users=0;windows=locked"), 1) << locked.All();
  EXPECT_TRUE(locked.Before("Windows unlocks the session", "record committed #1 (edited): \"abc\""));
  EXPECT_LT(locked.At("record committed #1") - locked.At("Windows unlocks the session"), 1.0) << "at once";
}

}  // namespace

// A desk sharing one Windows account: with the switch on, Windows' lock or a
// disconnect locks FileMaker too, the record first (the script asked at once,
// else typed when the keyboard is back), the login up by then; one login where
// Lullex's lock is up already; both counts afresh from the unlock. Off: as ever.
TEST(ModernHostScenario, WithTheSwitchOnFileMakerLocksWhenWindowsLocks) {
  const struct {
    bool on, script, lockFirst;
    const char *away, *back, *cause;
  } rows[] = {{1, 1, 0, "lock", "unlock", "windowslocked"},
              {1, 0, 0, "lock", "unlock", "windowslocked"},
              {1, 1, 0, "remote-disconnect", "remote-connect", "windowslocked"},
              {1, 0, 0, "remote-disconnect", "remote-connect", "windowslocked"},
              {1, 1, 1, "lock", "unlock", "locknow"},
              {1, 0, 1, "remote-disconnect", "remote-connect", ""},
              {0, 1, 0, "lock", "unlock", "idle"},
              {0, 0, 0, "remote-disconnect", "remote-connect", ""}};
  const std::string up = "window \"Please Login\" appeared", gone = "waitfor 5000 window \"Please Login\" gone";
  const std::string asked = std::string(kScriptRan) + "{\"event\":\"commit\",\"reason\":\"windowslocked\"";
  for (const auto& row : rows) {
    // At the desk as the lock begins, or as Windows unlocks.
    const bool colleague = row.on && !row.script, atUnlock = colleague && !row.lockFirst,
               atLock = colleague && row.lockFirst;  // idle calls slow: the lock waits for FileMaker's answers
    HostRun run = RunHost({"init",
                           "call Lulx-SetWorkstationPassword pw",
                           std::string("call Lulx-SetEventScript Contacts;") + (row.script ? "Lullex Audit" : ""),
                           std::string("call Lulx-SetLockWithWindows ") + (row.on ? "1" : "0"),
                           "call Lulx-ActivateFileMakerLullex 3",
                           "focus record",
                           "type abc",
                           atLock ? "idleevery 700" : "wait 0",
                           row.lockFirst ? "call Lulx-LockNow" : "wait 0",
                           atLock ? "wait 150" : "wait 0",
                           atLock ? "type zz" : "wait 0",
                           row.lockFirst ? "waitfor 8000 " + up : "wait 300",
                           std::string("session ") + row.away,
                           "wait 1500",
                           "call Lulx-Status",
                           std::string("session ") + row.back,
                           atUnlock ? "wait 150" : "wait 0",
                           atUnlock ? "type zz" : "wait 0",  // into the record, were it not covered
                           "waitseen 8000 " + up,
                           "wait 300",
                           "type pw",
                           "key ENTER",
                           gone,
                           "waitfor 8000 " + up,
                           "type pw",
                           "key ENTER",
                           gone,
                           "wait 1000",
                           "quit"});
    const bool bySwitch = row.on && !row.lockFirst;
    const std::string what = "row " + std::to_string(&row - rows),
                      back = row.away[0] == 'l' ? "Windows unlocks" : "remote user connects";
    ASSERT_EQ(run.exitCode, 0) << what << run.All();
    EXPECT_EQ(run.CountBetween("record key", row.away[0] == 'l' ? "Windows locks" : "disconnects", back), 0) << what;
    EXPECT_EQ(run.Count(";withwindows=1;windows=locked\""), row.on ? 1 : 0) << what;
    EXPECT_EQ(run.Count(up), 2) << what << ": one login for both locks, then the count's own" << run.All();
    EXPECT_GE(run.At(up, 2) - run.At("window \"Please Login\" gone"), 2.5) << what << ": the count afresh";
    EXPECT_EQ(run.Count(asked), bySwitch && row.script ? 1 : 0) << what << run.All();
    // The record first: asked of the script, the login up before Windows gives the keyboard back; else typed then.
    EXPECT_EQ(static_cast<bool>(run.Before(up, back)), (bySwitch && row.script) || row.lockFirst) << what << run.All();
    EXPECT_TRUE(!bySwitch || run.Before(row.script ? asked : "record committed #1 (edited): \"abc\"", up)) << what;
    const int causes = !row.script ? 0 : row.on ? 1 : 2;  // the count's own unlock says "idle"
    EXPECT_EQ(run.Count(std::string("\"cause\":\"") + row.cause + "\"}"), causes) << what << run.All();
    // Nobody to ask: the record typed, once, under a cover there at once.
    if (!row.script) {
      EXPECT_EQ(run.Count("record committed #1 (edited): \"abc\""), 1) << what << run.All();
    }
    const double covered = run.At("lock windows: 1 backdrop, 0 login") - run.At(row.lockFirst ? "LockNow" : back);
    EXPECT_TRUE(!colleague || (covered > 0 && covered < 0.6 && !run.Count("record key 0x5A"))) << what << run.All();
  }
}
