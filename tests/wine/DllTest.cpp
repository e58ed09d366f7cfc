// The built Lullex.fmx itself, loaded the way the host loads it: its export,
// string table and version resource, and calls through a host call block
// filled by raw offsets.
#include "DllFixture.h"

namespace {

// Runs first: the plug-in works on the state it has at load.
TEST_F(Dll, FunctionsWorkBeforeAnyInitCall) {
  EXPECT_EQ(Call(6, ""), "Lullex v1.91");
  EXPECT_EQ(Call(1, "pw"), "0");
  EXPECT_EQ(Call(4, "1"), "(none)");
}

TEST_F(Dll, ExportsOneEntryPointByNameAtOrdinalOne) {
  EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(g_dll, MAKEINTRESOURCEA(1))), reinterpret_cast<void*>(g_entry));
  EXPECT_EQ(GetProcAddress(g_dll, MAKEINTRESOURCEA(2)), nullptr);
  EXPECT_EQ(GetProcAddress(g_dll, "_FMExternCallProc"), nullptr);
  EXPECT_EQ(GetProcAddress(g_dll, "DispatchExternal"), nullptr);
}

TEST_F(Dll, StringTableAgreesWithTheFunctionTable) {
  for (const FunctionEntry& f : FUNCTIONS) {
    if (f.modernOnly) continue;  // FileMaker 7 and later have those, registered by name
    char text[256] = "";
    LoadStringA(g_dll, IDS_FUNCTION_BASE + f.number, text, sizeof text);
    EXPECT_STREQ(text, f.classicName) << "what FileMaker Pro 5 and 6 read for function " << f.number;
    EXPECT_EQ(std::string(f.modernName), std::string(f.classicName).replace(4, 1, "_"));
  }
}

// Pins the STRINGTABLE of src/resources/Lullex.rc, string by string.
TEST_F(Dll, StringTableNamesThePluginAndItsFunctions) {
  const struct {
    UINT id;
    const char* text;
  } strings[] = {{128, "Lullex"},
                 {129, "."},
                 {131, "ZORV1nYYnnn"},
                 {145, "Lulx-SetWorkstationPassword"},
                 {146, "Lulx-ActivateRecordLullex"},
                 {147, "Lulx-ActivateFileMakerLullex"},
                 {148, "Lulx-FMLullexCanBackground"},
                 {149, "Lulx-LullexRecordImmediatelyWhenInBackground"},
                 {150, "Lulx-Version"},
                 {151, "Lulx-LockNow"},
                 {152, "Lulx-Status"},
                 {153, "Lulx-SetLockWarning"}};
  for (const auto& s : strings) {
    char text[256] = "";
    EXPECT_GT(LoadStringA(g_dll, s.id, text, sizeof text), 0) << s.id;
    EXPECT_STREQ(text, s.text) << s.id;
  }
  char text[256];
  for (UINT missing : {130u, 144u, 154u}) EXPECT_EQ(LoadStringA(g_dll, missing, text, sizeof text), 0) << missing;
  EXPECT_NE(FindResourceExA(g_dll, MAKEINTRESOURCEA(6), MAKEINTRESOURCEA(128 / 16 + 1),
                            MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)),
            nullptr)
      << "strings in English (United States)";
}

// Pins the VS_VERSION_INFO block of src/resources/Lullex.rc.
TEST_F(Dll, VersionResource) {
  std::string path = PluginPath();
  DWORD ignored;
  DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> info(size);
  ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, info.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010009u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0x00010000u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010009u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));
  const struct {
    const char* name;
    const char* value;
  } strings[] = {{"FileDescription", "Lullex v1.91"}, {"FileVersion", "1.91 11/28/06"},
                 {"ProductVersion", "1.91 11/28/06"}, {"InternalName", "Lullex"},
                 {"ProductName", "Lullex"},           {"OriginalFilename", "LULLEX.FMX"}};
  for (const auto& s : strings) {
    char* value = nullptr;
    std::string key = std::string("\\StringFileInfo\\040904E4\\") + s.name;
    ASSERT_TRUE(VerQueryValueA(info.data(), key.c_str(), reinterpret_cast<void**>(&value), &length)) << s.name;
    EXPECT_STREQ(value, s.value);
  }
}

// ---- the call block by raw offsets ----

TEST_F(Dll, InitAnswersFourAtOffset24) {
  EXPECT_EQ(Init(0), 4);
  EXPECT_EQ(Init(-1), 4);
}

TEST_F(Dll, OtherCallKindsWriteNothing) {
  for (int kind : {1, 2, 4, 5, 6, 100, 255}) {
    unsigned char block[128];
    for (int i = 0; i < 128; ++i) block[i] = static_cast<unsigned char>(i);
    FillCallbacks(block);
    block[9] = static_cast<unsigned char>(kind);
    unsigned char before[128];
    std::memcpy(before, block, 128);
    g_entry(block);
    EXPECT_EQ(std::memcmp(before, block, 128), 0) << kind;
  }
}

TEST_F(Dll, RepliesAsTheHostSeesThem) {
  Init(0);
  EXPECT_EQ(Call(6, "anything"), "Lullex v1.91");
  EXPECT_EQ(Call(1, "secret"), "0");
  EXPECT_EQ(Call(1, ""), "$$001$$");
  EXPECT_EQ(Call(2, "30"), "0");
  EXPECT_EQ(Call(2, "0"), "(none)");
  EXPECT_EQ(Call(2, ""), "(none)");
  EXPECT_EQ(Call(3, " +12abc"), "0");
  EXPECT_EQ(Call(3, "0"), "(none)");
  EXPECT_EQ(Call(4, "1"), "(none)");
  EXPECT_EQ(Call(4, ""), "$$001$$");
  EXPECT_EQ(Call(5, "0"), "(none)");
  EXPECT_EQ(Call(5, ""), "$$001$$");
  for (uint32_t number = 1; number <= 5; ++number) {
    EXPECT_EQ(Call(number, std::string(255, '1')), "$$001$$") << number;
    EXPECT_NE(Call(number, std::string(254, '1')), "$$001$$") << number;
  }
  for (uint32_t number : {0u, 10u, 4294967295u}) EXPECT_EQ(Call(number, "1"), "(none)");
  SetFakeResizeFails(true);
  EXPECT_EQ(Call(6, ""), "(none)") << "a failed resize writes nothing";
  SetFakeResizeFails(false);
  Init(0);
}

TEST_F(Dll, NoConvertedCopyOfAPasswordStaysOnTheStack) {
  Init(0);
  // Mac Roman from FileMaker Pro 5 and 6, Windows text once converted.
  const std::string macRoman =
      "Gr\x9F\xA7"
      "e vom Stapel, Wort sieben";
  const std::string converted =
      "Gr\xFC\xDF"
      "e vom Stapel, Wort sieben";
  LeaveOnStack(converted.data(), converted.size());
  ASSERT_TRUE(LeftOnStack(converted.data(), converted.size())) << "the search finds what is left";
  const std::string other = "Another password, left nowhere";
  LeaveOnStack(other.data(), other.size());  // over the marker just found
  EXPECT_EQ(Call(1, macRoman), "0");
  EXPECT_FALSE(LeftOnStack(converted.data(), converted.size()));
  Init(0);
}

TEST_F(Dll, HostileParametersNeverCrashAndGetTheRightReplies) {
  Init(0);
  ExpectedSettings expected;
  int cases = 0;
  for (const std::string& parameter : BadParameters()) {
    for (uint32_t function : TRIED_FUNCTIONS) {
      std::string reply = ExpectedCall(function, parameter, expected);
      std::string got = Call(function, parameter);
      ASSERT_TRUE(ReplyAsExpected(got == "(none)" ? std::string(NO_REPLY) : got, reply, expected))
          << got << " for " << reply << ": function " << function << ", parameter of " << parameter.size() << " bytes";
      ++cases;
    }
  }
  std::printf("bad input through Lullex.fmx: %d calls tried\n", cases);
  Init(0);
}

// ---- the 32-bit FileMaker 7 to 18, with no FMWrapper.dll in this process ----

// Their call block: the version word at 0, the kind at 9, parm1 at 11, parm3
// at 16, the module at 20, the result at 24.
intptr_t ModernCall(uint8_t kind, int16_t version, uint8_t parm1 = 1, uint32_t room = 0, void* answer = nullptr) {
  unsigned char block[80] = {};
  Put(block, 0, version);
  block[9] = kind;
  block[11] = parm1;
  Put(block, 16, room);
  Put(block, 20, reinterpret_cast<uint32_t>(g_dll));
  Put(block, 24, reinterpret_cast<uint32_t>(answer));
  g_entry(block);
  int32_t result;
  std::memcpy(&result, block + 24, 4);
  return result;
}

TEST_F(Dll, AModernHostWithoutFMWrapperIsRefusedAndTheNextHostChoosesAfresh) {
  ASSERT_EQ(GetModuleHandleA("FMWrapper.dll"), nullptr);
  ModernCall(4, 0);  // the classic host of the tests before ends
  EXPECT_EQ(ModernCall(0, 60), -2) << "nothing to register with";
  EXPECT_EQ(Call(6, ""), "(none)") << "a classic call while the modern interface is chosen";
  ModernCall(4, 60);
  wchar_t name[16];
  std::wmemset(name, L'#', 16);
  ModernCall(7, 60, 128, 8, name);
  EXPECT_EQ(std::wstring(name), L"Lullex") << "a modern host may ask again before its next init";
  EXPECT_EQ(Init(17), 4);
  EXPECT_EQ(Call(6, ""), "Lullex v1.91");
  std::wmemset(name, L'#', 16);
  ModernCall(7, 60, 128, 8, name);
  EXPECT_EQ(name[0], L'#') << "FileMaker Pro 5 and 6 ask no strings";
}

}  // namespace
