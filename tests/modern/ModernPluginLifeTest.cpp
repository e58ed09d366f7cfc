// The built plug-in as FileMaker 7 and later call it (see
// ModernInterfaceTest.cpp): its parameters in UTF-16, what outlives an init,
// the people of a shared desk, and FreeLibrary after shutdown.
#include "ModernPluginFixture.h"

namespace {

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
