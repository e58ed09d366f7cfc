// End to end, FileMaker 7 and later only: a Unicode password typed at the lock, the
// hosts that must not enable the plug-in, digests, and a planted library.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "HostRun.h"
#include "resources/Version.h"

namespace {

const std::string kInstalledLine = "Lullex;" + std::to_string(LULLEX_VERSION_MAJOR) + "." +
                                   std::to_string(LULLEX_VERSION_MINOR) + "." + std::to_string(LULLEX_VERSION_PATCH) +
                                   "." + std::to_string(LULLEX_VERSION_BUILD);

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
      {"", "", "init -> 77, 15 functions registered"},
      {"--api 55", "", "init -> 77, 15 functions registered"},
      {"--app-kind 7", "", "init -> -2, 0 functions registered"},  // server scripting
      {"--app-kind 9", "", "init -> -2, 0 functions registered"},  // the Data API
      {"", "lacking", "init -> -2, 0 functions registered"},       // FMWrapper.dll lacks FM_Text_GetUnicode
#ifdef _WIN64
      {"--api 52", "", "init -> -1, 0 functions registered"},  // older than 64-bit plug-ins
#else
      {"--api 50", "", "init -> 77, 15 functions registered"},  // FileMaker 7, where the interface began
      {"--api 17", "", "init -> 4"},                            // FileMaker Pro 6: the classic interface
#endif
  };
  for (const Case& c : cases) {
    HostRun run = RunHost({"init", "installedplugins", "call Lulx-Version", "shutdown", "unload", "wait 500", "quit"},
                          c.options, c.subfolder);
    ASSERT_EQ(run.exitCode, 0) << c.options << c.subfolder << run.All();
    EXPECT_EQ(run.Count(c.init), 1) << c.options << c.subfolder << run.All();
    bool enabled = std::string(c.init).find("-> -") == std::string::npos;
    bool classic = std::string(c.init) == "init -> 4";
    EXPECT_EQ(run.Count("call Lulx-Version(\"\") -> reply \"Lullex v1.91\""), enabled ? 1 : 0) << run.All();
    // What FileMaker 12 and later list for Lullex: its name, its version resource's file version.
    const std::string line =
        "Get ( InstalledFMPlugins ): " +
        (classic ? "(none before FileMaker 12)" : kInstalledLine + (enabled ? ";Enabled" : ";Disabled"));
    EXPECT_EQ(run.Count(line), 1) << run.All();
    EXPECT_EQ(run.Count(classic ? "shutdown call returned" : "shutdown call returned, 0 functions registered"), 1)
        << run.All();
    EXPECT_EQ(run.Count("script finished"), 1) << run.All();
  }
}

TEST(ModernHostScenario, ADigestMadeByThePlugInUnlocksAndABadDigestChangesNothing) {
  const char up[] = "window \"Please Login\" appeared", gone[] = "window \"Please Login\" gone";
  HostRun run = RunHost({
      "init",
      "call Lulx-PasswordDigest Tr0ub4dor & 3",
      "call Lulx-SetWorkstationPasswordDigest {reply}",
      "call Lulx-Status",
      "call Lulx-LockNow",
      std::string("waitfor 8000 ") + up,
      "type Tr0ub4dor & 4",
      "key ENTER",
      "key ENTER",  // pressed again while the first is checked: no second try
      "waitfor 8000 window \"Incorrect password\" appeared",
      "key ENTER",
      "waitfor 5000 window \"Incorrect password\" gone",
      "type Tr0ub4dor & 3",
      "key ENTER",
      std::string("waitfor 8000 ") + gone,
      "say a malformed digest",
      "call Lulx-SetWorkstationPasswordDigest $pbkdf2-sha256$i=600000$AAAA$BBBB",
      "call Lulx-Status",
      "call Lulx-LockNow",
      std::string("waitfor 8000 ") + up,
      "type Tr0ub4dor & 3",
      "key ENTER",
      std::string("waitfor 8000 ") + gone,
      "quit",
  });
  ASSERT_EQ(run.exitCode, 0) << run.All();
  EXPECT_EQ(run.Count("call Lulx-PasswordDigest(\"Tr0ub4dor & 3\") -> reply \"$pbkdf2-sha256$i=600000$"), 1)
      << run.All();
  int set = run.Index("call Lulx-SetWorkstationPasswordDigest(\"$pbkdf2-sha256$i=600000$");
  ASSERT_GE(set, 0) << run.All();
  EXPECT_NE(run.lines[set].text.find("\") -> reply \"0\""), std::string::npos) << run.lines[set].text;
  EXPECT_EQ(run.Count("-> reply \"$$001$$\""), 1) << "the malformed digest refused" << run.All();
  EXPECT_EQ(run.Count("scripterror=0;password=digest;users=0\""), 2) << "in force before and after the refusal";
  EXPECT_EQ(run.Count("window \"Incorrect password\" appeared"), 1) << run.All();
  EXPECT_EQ(run.Count(up), 2);
  EXPECT_TRUE(run.Before("-- a malformed digest", gone, 1, 2)) << "the right password still unlocks";
}

// Neither a wrong try, while the login stays up, nor the right password leaves
// a copy of what was typed in the host's memory: the field's own buffer is
// overwritten before it is emptied or goes.
TEST(ModernHostScenario, NoCopyOfATypedPasswordOutlivesItsTry) {
  const char up[] = "window \"Please Login\" appeared", gone[] = "window \"Please Login\" gone";
  HostRun run = RunHost({
      "init",
      // Its digest made elsewhere: the password never passes through a function.
      "call Lulx-SetWorkstationPasswordDigest "
      "$pbkdf2-sha256$i=100000$AAECAwQFBgcICQoL"
      "DA0ODw$JnB7DTRBSt6+h3tzRVKaFwlce1a96hM96UNYPR5eLv0",
      "call Lulx-LockNow",
      std::string("waitfor 8000 ") + up,
      "type Wrong Horse Battery Staple",
      "key ENTER",
      "waitfor 8000 window \"Incorrect password\" appeared",
      "key ENTER",
      "waitfor 5000 window \"Incorrect password\" gone",
      // The tail the two share: the field empties its text from the start.
      "memscan Horse Battery Staple",
      "type Correct Horse Battery Staple",
      "key ENTER",
      std::string("waitfor 8000 ") + gone,
      "wait 500",
      "memscan Horse Battery Staple",
      "quit",
  });
  ASSERT_EQ(run.exitCode, 0) << run.All();
  EXPECT_EQ(run.Count("memory holds 0 copies of \"Horse Battery Staple\""), 2) << run.All();
}

// The folder of the host that has a bcrypt.dll of someone else's beside it.
std::string PlantedFolder() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p(path);
  for (int i = 0; i < 3; ++i) p = p.substr(0, p.find_last_of("\\/"));
  return p + "\\host\\planted";
}

// Someone who can write to FileMaker's folder puts a bcrypt.dll there. CTest
// has Wine prefer such a file to its own, as Windows does with any library
// that the search path finds before the system folder.
TEST(ModernHostScenario, ABcryptDllBesideFileMakerNeitherMakesNorOpensTheLock) {
  // First, that a library loaded by its bare name would be the planted one.
  SetDllDirectoryA(PlantedFolder().c_str());
  HMODULE found = LoadLibraryA("bcrypt.dll");
  SetDllDirectoryA(nullptr);
  ASSERT_NE(found, nullptr);
  typedef LONG(WINAPI * GenRandom)(void*, UCHAR*, ULONG, ULONG);
  GenRandom random = reinterpret_cast<GenRandom>(reinterpret_cast<void*>(GetProcAddress(found, "BCryptGenRandom")));
  UCHAR bytes[4] = {};
  ASSERT_TRUE(random && random(nullptr, bytes, sizeof bytes, 2) == 0);
  ASSERT_EQ(bytes[0] & bytes[1] & bytes[2] & bytes[3], 0x11) << "the search path finds the planted library";
  FreeLibrary(found);

  HostRun run = RunHost(
      {
          "init",
          "call Lulx-PasswordDigest the right one",
          "call Lulx-SetWorkstationPasswordDigest {reply}",
          "call Lulx-LockNow",
          "waitfor 8000 window \"Please Login\" appeared",
          "type any other",
          "key ENTER",
          "waitfor 8000 window \"Incorrect password\" appeared",
          "key ENTER",
          "waitfor 5000 window \"Incorrect password\" gone",
          "type the right one",
          "key ENTER",
          "waitfor 8000 window \"Please Login\" gone",
          "quit",
      },
      "", "planted");
  ASSERT_EQ(run.exitCode, 0) << run.All();
  EXPECT_EQ(run.Count("planted bcrypt.dll loaded"), 0) << run.All();
  EXPECT_EQ(run.Count("call Lulx-PasswordDigest(\"the right one\") -> reply \"$pbkdf2-sha256$i=600000$"), 1)
      << run.All();
  EXPECT_EQ(run.Count("$EREREREREREREREREREREQ$"), 0) << "a salt from the planted library" << run.All();
  EXPECT_EQ(run.Count("window \"Incorrect password\" appeared"), 1) << "a wrong password refused" << run.All();
}

}  // namespace
