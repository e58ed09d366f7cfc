// The built plug-in loaded as FileMaker 7 and later load it, beside the
// stand-in's FMWrapper.dll: Lullex.fmx64 as 64-bit FileMaker, Lullex.fmx as the
// 32-bit FileMaker 18. The strings it answers, the functions it registers and
// unregisters, its parameters in UTF-16, and FreeLibrary after shutdown.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "FileVersion.h"
#include "StandInCall.h"
#include "portable/modern/FMWrapperApi.h"
#include "portable/modern/ModernCallBlock.h"
#include "portable/modern/ModernParameter.h"

namespace {

typedef void (*EntryPoint)(FMModernCallBlock*);

#ifdef _WIN64
const char PLUGIN_FILE[] = "Lullex.fmx64";
const int16_t HOST_API = 67;  // FileMaker 19.5 and later
#else
const char PLUGIN_FILE[] = "Lullex.fmx";
const int16_t HOST_API = 60;  // FileMaker 18, the last 32-bit one
#endif

class ModernPlugin : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryA(PLUGIN_FILE);
    ASSERT_NE(module_, nullptr);
    entry_ = reinterpret_cast<EntryPoint>(reinterpret_cast<void*>(GetProcAddress(module_, "FMExternCallProc")));
    ASSERT_NE(entry_, nullptr);
  }
  void TearDown() override {
    if (module_) {
      Call(CALL_SHUTDOWN);
      FreeLibrary(module_);
    }
  }

  FMModernCallBlock Call(uint8_t kind, uint8_t parm1 = 0, int16_t api = HOST_API) {
    FMModernCallBlock block = {};
    block.apiVersion = api;
    block.unusedId = -1;
    block.callKind = kind;
    block.parm1 = parm1;
    block.instance = reinterpret_cast<uintptr_t>(module_);
    entry_(&block);
    return block;
  }
  intptr_t Init(int16_t api = HOST_API, uint8_t applicationKind = 1) {
    return static_cast<intptr_t>(Call(CALL_INIT, applicationKind, api).result);
  }
  // The string with id as the plug-in writes it into room units, and whether it
  // wrote past them.
  std::wstring String(uint8_t id, size_t room, bool& overran) {
    std::wstring buffer(room + 8, L'#');
    FMModernCallBlock block = {};
    block.callKind = CALL_GET_STRING;
    block.parm1 = id;
    block.parm3 = room;
    block.result = reinterpret_cast<uintptr_t>(&buffer[0]);
    entry_(&block);
    overran = buffer.find_first_not_of(L'#', room) != std::wstring::npos;
    return buffer.substr(0, std::min(buffer.find(L'\0'), room));
  }
  // Calls the registered function named name, with argument when given; its
  // reply, or "(no reply)".
  std::wstring CallFunction(const std::wstring& name, const std::wstring* argument) {
    RegisteredFunction f = {};
    bool found = false;
    for (int i = 0; !found && StandIn_Registered(i, &f); ++i) found = name == f.name;
    if (!found) return L"(not registered)";
    StandInReply reply =
        CallRegistered(f, argument ? std::vector<std::wstring>{*argument} : std::vector<std::wstring>{});
    EXPECT_EQ(reply.status, 0) << "never \"?\" in FileMaker";
    return reply.given ? reply.text : L"(no reply)";
  }
  std::wstring CallFunction(const std::wstring& name, const std::wstring& argument) {
    return CallFunction(name, &argument);
  }

  HMODULE module_ = nullptr;
  EntryPoint entry_ = nullptr;
};

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

TEST_F(ModernPlugin, ParametersCountCharactersAndRepliesMatchTheClassicBuild) {
  ASSERT_EQ(Init(), API_IMPLEMENTED);
  EXPECT_EQ(CallFunction(L"Lulx_Version", nullptr), L"Lullex v1.91");
  EXPECT_EQ(CallFunction(L"Lulx_SetWorkstationPassword", L"Grüße 7"), L"0");
  EXPECT_EQ(CallFunction(L"Lulx_SetWorkstationPassword", L""), L"$$001$$");
  // 254 characters beyond the BMP: 508 UTF-16 units, still 254 characters.
  std::wstring pairs;
  for (int i = 0; i < 254; ++i) pairs += L"\xD83D\xDE00";
  EXPECT_EQ(CallFunction(L"Lulx_SetWorkstationPassword", pairs), L"0");
  EXPECT_EQ(CallFunction(L"Lulx_SetWorkstationPassword", pairs + L"x"), L"$$001$$");
  EXPECT_EQ(CallFunction(L"Lulx_SetWorkstationPassword", std::wstring(254, L'Ж')), L"0");
  EXPECT_EQ(CallFunction(L"Lulx_SetWorkstationPassword", std::wstring(255, L'Ж')), L"$$001$$");
  EXPECT_EQ(CallFunction(L"Lulx_ActivateRecordLullex", L"0"), L"(no reply)");
  EXPECT_EQ(CallFunction(L"Lulx_FMLullexCanBackground", L"1"), L"(no reply)");
  EXPECT_EQ(CallFunction(L"Lulx_FMLullexCanBackground", L""), L"$$001$$");
  EXPECT_EQ(CallFunction(L"Lulx_SetLockWarning", L" +30x"), L"0");
  EXPECT_EQ(CallFunction(L"Lulx_ActivateFileMakerLullex", L"600"), L"0");
  EXPECT_EQ(CallFunction(L"Lulx_Status", nullptr),
            L"record=0;recordidle=0;filemaker=600;filemakeridle=0;background=1;immediate=0;warning=30;locked=0;"
            L"scripterror=0;password=plain;users=0");
  EXPECT_EQ(CallFunction(L"Lulx_Status", std::wstring(255, L'x')), L"$$001$$");
}

TEST_F(ModernPlugin, APasswordOutlivesAnInitButNotTheShutdown) {
  ASSERT_EQ(Init(), API_IMPLEMENTED);
  auto passwordPair = [this] {
    std::wstring status = CallFunction(L"Lulx_Status", nullptr);
    size_t at = status.find(L"password=");
    return status.substr(at, status.find(L';', at) - at);
  };
  EXPECT_EQ(CallFunction(L"Lulx_SetWorkstationPassword", L"pw"), L"0");
  ASSERT_EQ(Init(), API_IMPLEMENTED);
  EXPECT_EQ(passwordPair(), L"password=plain") << "an init keeps the password";
  Call(CALL_SHUTDOWN);
  ASSERT_EQ(Init(), API_IMPLEMENTED);
  EXPECT_EQ(passwordPair(), L"password=none") << "wiped at the shutdown: nothing opens the lock";
  EXPECT_EQ(CallFunction(L"Lulx_SetWorkstationPasswordDigest",
                         L"$pbkdf2-sha256$i=100000$AAECAwQFBgcICQoLDA0ODw$W4XNFZZ3COSNHgmJenzOpSR2FWdRZMHQ0M8Rz6vA9NE"),
            L"0");
  Call(CALL_SHUTDOWN);
  ASSERT_EQ(Init(), API_IMPLEMENTED);
  EXPECT_EQ(passwordPair(), L"password=digest") << "a digest holds no password, and keeps the lock shut";
}

TEST_F(ModernPlugin, PeopleOfASharedDeskByNameWhateverItsCaseUpToThirtyTwo) {
  ASSERT_EQ(Init(), API_IMPLEMENTED);
  const std::wstring digest =
      L"$pbkdf2-sha256$i=100000$AAECAwQFBgcICQoLDA0ODw$W4XNFZZ3COSNHgmJenzOpSR2FWdRZMHQ0M8Rz6vA9NE";
  auto set = [&](const std::wstring& name, const std::wstring& d) {
    RegisteredFunction f = {};
    for (int i = 0; StandIn_Registered(i, &f); ++i)
      if (std::wstring(f.name) == L"Lulx_SetUnlockUser") break;
    return CallRegistered(f, {name, d}).text;
  };
  auto users = [&] {
    std::wstring status = CallFunction(L"Lulx_Status", nullptr);
    return status.substr(status.rfind(L";users=") + 7);
  };
  for (const std::wstring& refused : {std::wstring(), std::wstring(65, L'a'), std::wstring(L"a\tb"),
                                      std::wstring(L"a\nb"), std::wstring(L" Ann"), std::wstring(L"Ann ")})
    EXPECT_EQ(set(refused, digest), L"$$001$$") << refused.size();
  EXPECT_EQ(set(L"Ann", digest + L"x"), L"$$001$$") << "a digest that is none";
  EXPECT_EQ(users(), L"0");
  EXPECT_EQ(set(std::wstring(64, L'\x540D'), digest), L"0") << "64 CJK characters";
  EXPECT_EQ(set(std::wstring(64, L'\x00E9'), digest), L"0") << "64 accented ones";
  EXPECT_EQ(set(L"\x00C9lodie", digest), L"0");
  EXPECT_EQ(set(L"\x00E9LODIE", digest), L"0") << "the same person, whatever the case";
  EXPECT_EQ(users(), L"3");
  EXPECT_EQ(set(L"Nobody", L""), L"0") << "removing a name that is not there";
  for (int i = 3; i < 32; ++i) ASSERT_EQ(set(L"P" + std::to_wstring(i), digest), L"0") << i;
  EXPECT_EQ(set(L"P32", digest), L"$$001$$") << "a 33rd person";
  EXPECT_EQ(set(L"\x00E9lodie", L""), L"0");
  EXPECT_EQ(set(L"P32", digest), L"0") << "room again";
  EXPECT_EQ(users(), L"32");
}

// A parameter as FileMaker hands it over, and where the plug-in had it copied.
const std::wstring* g_argument;
uint16_t* g_copiedTo;

uint32_t OneArgument(const void*, FMError* error) { return error->code = 0, 1; }
const void* TheArgument(const void*, uint32_t, FMError* error) { return error->code = 0, g_argument; }
uint32_t ItsSize(const void*, FMError* error) {
  error->code = 0;
  return static_cast<uint32_t>(g_argument->size());
}
void ItsUnits(const void*, uint16_t* units, uint32_t position, uint32_t count, FMError* error) {
  error->code = 0;
  g_copiedTo = units;
  for (uint32_t i = 0; i < count; ++i) units[i] = (*g_argument)[position + i];
}

TEST(ModernParameter, TheUtf16CopyOfAPasswordIsWipedOnceRead) {
  const std::wstring password =
      L"Gr\x00FC\x00DF"
      L"e, \xD83D\xDE00 7";
  g_argument = &password;
  const FMTextReading reading = {OneArgument, TheArgument, ItsSize, ItsUnits};
  char text[PARAMETER_TEXT_SIZE];
  ParameterText read = ReadModernParameter(reading, nullptr, 0, text);
  // What the copy's place holds now, read before anything is called over it.
  uint16_t left[64];
  for (size_t i = 0; i < password.size(); ++i) left[i] = static_cast<volatile uint16_t*>(g_copiedTo)[i];
  EXPECT_STREQ(read.text,
               "Gr\xC3\xBC\xC3\x9F"
               "e, \xF0\x9F\x98\x80 7");
  for (size_t i = 0; i < password.size(); ++i) EXPECT_EQ(left[i], 0) << "unit " << i;
}

TEST_F(ModernPlugin, FreeLibraryAfterShutdownLeavesNothingThatCallsBack) {
  ASSERT_EQ(Init(), API_IMPLEMENTED);
  EXPECT_EQ(CallFunction(L"Lulx_ActivateRecordLullex", L"1"), L"0");
  EXPECT_EQ(CallFunction(L"Lulx_ActivateFileMakerLullex", L"1"), L"0");
  EXPECT_EQ(CallFunction(L"Lulx_SetLockWarning", L"1"), L"0");
  Call(CALL_SHUTDOWN);
  EXPECT_EQ(StandIn_RegisteredCount(), 0);
  FreeLibrary(module_);
  module_ = nullptr;
  // A timer or window left behind would now call into unmapped code.
  DWORD until = GetTickCount() + 1500;
  MSG msg;
  while (static_cast<LONG>(GetTickCount() - until) < 0) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(20);
  }
  SUCCEED() << "1.5 s of messages after FreeLibrary";
}

}  // namespace
