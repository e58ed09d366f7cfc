// The built plug-in loaded as FileMaker 7 and later load it, beside the
// stand-in's FMWrapper.dll: Lullex.fmx64 as 64-bit FileMaker, Lullex.fmx as the
// 32-bit FileMaker 18. The strings it answers, the functions it registers and
// unregisters, and the hosts that enable it.
#include "ModernPluginFixture.h"

namespace {

// The guide, copied beside this program at configure time, as one line.
std::string GuideText() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  std::ifstream in(folder.substr(0, folder.find_last_of('\\') + 1) + "README.md");
  std::stringstream text;
  text << in.rdbuf();
  std::string guide = text.str();
  std::replace(guide.begin(), guide.end(), '\n', ' ');
  return guide;
}

// The guide against the built plug-in: its table names exactly the functions
// registered, the counts it gives in words are theirs, and it shows the line
// FileMaker lists for the plug-in (its name, its file version).
TEST_F(ModernPlugin, TheGuideNamesWhatThePlugInRegistersAndTheLineFileMakerLists) {
  ASSERT_EQ(Init(), API_IMPLEMENTED);
  const std::string guide = GuideText();
  ASSERT_FALSE(guide.empty()) << "README.md beside the tests";
  std::set<std::string> listed, registered;
  int everyFileMaker = 0;  // named with a hyphen: FileMaker Pro 5 and 6 have them too
  // The table of "The functions", one row a function.
  const size_t tableEnd = guide.find("The status line has");
  for (size_t at = guide.find("| `Lulx", guide.find("| Function | Parameter |")); at < tableEnd;
       at = guide.find("| `Lulx", at + 1)) {
    std::string name = guide.substr(at + 3, guide.find('`', at + 3) - at - 3);
    everyFileMaker += name[4] == '-';
    std::replace(name.begin(), name.end(), '-', '_');
    listed.insert(name);
  }
  RegisteredFunction f;
  for (int i = 0; StandIn_Registered(i, &f); ++i) registered.insert(std::string(f.name, f.name + wcslen(f.name)));
  EXPECT_EQ(listed, registered);
  const char* const WORDS[] = {"no",    "one",  "two", "three",  "four",   "five",     "six",      "seven",
                               "eight", "nine", "ten", "eleven", "twelve", "thirteen", "fourteen", "fifteen"};
  const std::string all = WORDS[everyFileMaker], more = WORDS[registered.size() - everyFileMaker];
  EXPECT_NE(guide.find("through " + all + " external functions"), std::string::npos) << "the introduction";
  EXPECT_NE(guide.find("FileMaker 7 and later have " + more + " more"), std::string::npos) << "the introduction";
  EXPECT_NE(guide.find("the same " + all + " functions (and " + more + " more"), std::string::npos)
      << "FileMaker 7 and later";
  bool overran;
  std::wstring name = String(STRING_NAME, 256, overran);
  const std::string line = std::string(name.begin(), name.end()) + ";" + FileVersionOf(module_) + ";Enabled";
  EXPECT_NE(guide.find(line), std::string::npos) << line;
}

TEST_F(ModernPlugin, AnswersItsStringsWithinTheRoomGiven) {
  bool overran;
  EXPECT_EQ(String(STRING_NAME, 256, overran), L"Lullex");
  EXPECT_FALSE(overran);
  EXPECT_EQ(String(STRING_OPTIONS, 256, overran), L"Lulx1nnYYnn") << "init, shutdown and idle calls";
  EXPECT_NE(String(STRING_DESCRIPTION, 1024, overran).find(L"Lullex v1.91"), std::wstring::npos);
  EXPECT_EQ(String(STRING_HELP_URL, 256, overran), L"");
  EXPECT_EQ(String(200, 256, overran), L"");
  // Too small: cut, terminated inside the room, nothing written past it.
  EXPECT_EQ(String(STRING_OPTIONS, 5, overran), L"Lulx");
  EXPECT_FALSE(overran);
  EXPECT_EQ(String(STRING_DESCRIPTION, 1, overran), L"");
  EXPECT_FALSE(overran);
  String(STRING_NAME, 0, overran);
  EXPECT_FALSE(overran) << "no room at all: nothing written";
}

TEST_F(ModernPlugin, RegistersFourteenWindowsFunctionsAndUnregistersThemAtShutdown) {
  ASSERT_EQ(Init(), API_IMPLEMENTED);
  ASSERT_EQ(StandIn_RegisteredCount(), 15);
  const struct {
    const wchar_t* name;
    int16_t minimum, maximum;
  } expected[] = {{L"Lulx_SetWorkstationPassword", 1, 1},
                  {L"Lulx_ActivateRecordLullex", 1, 1},
                  {L"Lulx_ActivateFileMakerLullex", 1, 1},
                  {L"Lulx_FMLullexCanBackground", 1, 1},
                  {L"Lulx_LullexRecordImmediatelyWhenInBackground", 1, 1},
                  {L"Lulx_Version", 0, 1},
                  {L"Lulx_LockNow", 0, 1},
                  {L"Lulx_Status", 0, 1},
                  {L"Lulx_SetLockWarning", 1, 1},
                  {L"Lulx_SetEventScript", 2, 2},
                  {L"Lulx_PasswordDigest", 1, 1},
                  {L"Lulx_SetWorkstationPasswordDigest", 1, 1},
                  {L"Lulx_SetUnlockUser", 2, 2},
                  {L"Lulx_SetLockMessage", 1, 1}};
  for (int i = 0; i < 14; ++i) {
    RegisteredFunction f;
    ASSERT_TRUE(StandIn_Registered(i, &f));
    EXPECT_STREQ(f.pluginId, "Lulx");
    EXPECT_EQ(f.id, i + 1);
    EXPECT_STREQ(f.name, expected[i].name);
    EXPECT_EQ(std::wstring(f.prototype).rfind(std::wstring(f.name) + L" ( ", 0), 0u) << f.prototype;
    EXPECT_EQ(f.minimumArguments, expected[i].minimum) << f.name;
    EXPECT_EQ(f.maximumArguments, expected[i].maximum) << f.name;
    EXPECT_EQ(f.compatibility, 0x0000FF04u) << "Windows only, shown in every calculation dialog";
    ASSERT_NE(f.description, nullptr) << f.name;
    EXPECT_NE(std::wstring(f.description).find(L'|'), std::wstring::npos) << f.description;
  }
  EXPECT_EQ(Init(), API_IMPLEMENTED) << "a second init";
  EXPECT_EQ(StandIn_RegisteredCount(), 15) << "registers nothing twice";
  Call(CALL_SHUTDOWN);
  EXPECT_EQ(StandIn_RegisteredCount(), 0);
}

TEST_F(ModernPlugin, AHostBeforeApi56GetsTheRegistrationWithoutDescriptions) {
  ASSERT_EQ(Init(55), API_IMPLEMENTED);
  ASSERT_EQ(StandIn_RegisteredCount(), 15);
  RegisteredFunction f;
  for (int i = 0; StandIn_Registered(i, &f); ++i) EXPECT_EQ(f.description, nullptr) << f.name;
  EXPECT_EQ(CallFunction(L"Lulx_Version", nullptr), L"Lullex v1.91");
}

TEST_F(ModernPlugin, TheFirstApiOfItsSizeEnablesItAndTheOneBeforeIsNotTheModernInterface) {
  EXPECT_EQ(Init(API_FIRST_OF_THIS_SIZE), API_IMPLEMENTED);
  EXPECT_EQ(StandIn_RegisteredCount(), 15);
  Call(CALL_SHUTDOWN);
  intptr_t reply = Init(API_FIRST_OF_THIS_SIZE - 1);
  EXPECT_EQ(StandIn_RegisteredCount(), 0);
#ifdef _WIN64
  EXPECT_EQ(reply, INIT_BAD_API_VERSION);
#else
  EXPECT_EQ(reply, 4) << "below 50, FileMaker Pro 5 and 6's interface and its init reply";
  EXPECT_EQ(CallFunction(L"Lulx_Version", nullptr), L"(not registered)");
#endif
}

TEST_F(ModernPlugin, OnlyFileMakerProItselfEnablesIt) {
  for (uint8_t kind : {3, 4, 7, 9, 11, 99}) {
    EXPECT_EQ(Init(HOST_API, kind), INIT_DO_NOT_ENABLE) << int(kind);
    EXPECT_EQ(StandIn_RegisteredCount(), 0) << int(kind);
  }
  for (uint8_t kind : {0, 1, 2}) {
    EXPECT_EQ(Init(HOST_API, kind), API_IMPLEMENTED) << int(kind);
    Call(CALL_SHUTDOWN);
  }
}

TEST_F(ModernPlugin, FailedRegistrationUndoesItselfAndRefuses) {
  StandIn_SetAllocationFails(true);
  EXPECT_EQ(Init(), INIT_DO_NOT_ENABLE);
  StandIn_SetAllocationFails(false);
  EXPECT_EQ(StandIn_RegisteredCount(), 0);
  EXPECT_EQ(Init(), API_IMPLEMENTED);
}

}  // namespace
