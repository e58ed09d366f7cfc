// The built Lullex.fmx itself, loaded the way the host loads it: its export,
// string table, version resource and dialog templates, and calls through a
// host call block filled by raw offsets.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "BadInput.h"
#include "HostHandles.h"
#include "StackResidue.h"
#include "plugin/FunctionTable.h"
#include "resources/ResourceIds.h"

namespace {

HMODULE g_dll;
typedef void (*Entry)(void*);
Entry g_entry;

std::string PluginPath() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p(path);
  p = p.substr(0, p.find_last_of("\\/"));  // tests/wine
  p = p.substr(0, p.find_last_of("\\/"));  // tests
  p = p.substr(0, p.find_last_of("\\/"));  // build folder
  return p + "\\Lullex.fmx";
}

// ---- a host of raw bytes ----

template <typename T>
void Put(unsigned char* block, int offset, T value) {
  std::memcpy(block + offset, &value, sizeof value);
}

void FillCallbacks(unsigned char* block) {
  Put(block, 20, reinterpret_cast<uint32_t>(g_dll));
  HostCallbacks host = FakeHostCallbacks();
  Put(block, 36, reinterpret_cast<uint32_t>(host.resizeHandleProc));
  Put(block, 40, reinterpret_cast<uint32_t>(host.handleSizeProc));
  Put(block, 68, reinterpret_cast<uint32_t>(host.memoryErrorProc));
}

// Calls function `number` and returns the reply, or "(none)" when the result
// handle was left as the host filled it.
std::string Call(uint32_t number, const std::string& parameter) {
  unsigned char block[128] = {};
  FillCallbacks(block);
  FakeHandle param(parameter);
  FakeHandle result("(none)");
  block[9] = 3;
  Put(block, 12, number);
  Put(block, 16, reinterpret_cast<uint32_t>(&param.bytes));
  Put(block, 24, reinterpret_cast<uint32_t>(&result.bytes));
  g_entry(block);
  return result.Content();
}

int32_t Init(int16_t version) {
  unsigned char block[128];
  std::memset(block, 0x5A, sizeof block);
  FillCallbacks(block);
  Put(block, 0, version);
  block[9] = 0;
  g_entry(block);
  int32_t answer;
  std::memcpy(&answer, block + 24, 4);
  return answer;
}

LRESULT CALLBACK PlainProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

class Dll : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "FMPRO5APP";
    RegisterClassA(&wc);
    host_ = CreateWindowExA(0, "FMPRO5APP", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr,
                            wc.hInstance, nullptr);
    g_dll = LoadLibraryA(PluginPath().c_str());
    if (g_dll) g_entry = reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(g_dll, "FMExternCallProc")));
  }
  static void TearDownTestSuite() { DestroyWindow(host_); }
  void SetUp() override {
    ASSERT_NE(g_dll, nullptr) << PluginPath();
    ASSERT_NE(g_entry, nullptr);
    SetFakeResizeFails(false);
  }
  static HWND host_;
};
HWND Dll::host_;

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

// ---- dialog templates ----

struct Item {
  DWORD style;
  int id;
  std::string cls, text;
  short x, y, cx, cy;
};
struct Template {
  DWORD style, exStyle;
  short x, y, cx, cy;
  std::string menu, cls, caption, font;
  WORD points = 0;
  std::vector<Item> items;
};

const WORD* ReadString(const WORD* p, std::string& out, bool ordinalClass = false) {
  out.clear();
  if (*p == 0xFFFF) {
    WORD ordinal = p[1];
    if (ordinalClass) {
      const char* names[] = {"BUTTON", "EDIT", "STATIC", "LISTBOX", "SCROLLBAR", "COMBOBOX"};
      out = ordinal >= 0x80 && ordinal <= 0x85 ? names[ordinal - 0x80] : "#" + std::to_string(ordinal);
    } else {
      out = "#" + std::to_string(ordinal);
    }
    return p + 2;
  }
  while (*p) out += static_cast<char>(*p++);
  if (ordinalClass)
    for (char& c : out) c = static_cast<char>(toupper(c));
  return p + 1;
}

Template ReadTemplate(int id) {
  Template t;
  HRSRC res = FindResourceA(g_dll, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));
  EXPECT_NE(res, nullptr) << id;
  if (!res) return t;
  const BYTE* base = static_cast<const BYTE*>(LockResource(LoadResource(g_dll, res)));
  const DLGTEMPLATE* dt = reinterpret_cast<const DLGTEMPLATE*>(base);
  EXPECT_NE(HIWORD(dt->style), 0xFFFF) << "a standard, not an extended, template";
  t.style = dt->style;
  t.exStyle = dt->dwExtendedStyle;
  t.x = dt->x;
  t.y = dt->y;
  t.cx = dt->cx;
  t.cy = dt->cy;
  const WORD* p = reinterpret_cast<const WORD*>(dt + 1);
  p = ReadString(p, t.menu);
  p = ReadString(p, t.cls);
  p = ReadString(p, t.caption);
  if (t.style & DS_SETFONT) {
    t.points = *p++;
    p = ReadString(p, t.font);
  }
  for (int i = 0; i < dt->cdit; ++i) {
    p = reinterpret_cast<const WORD*>((reinterpret_cast<uintptr_t>(p) + 3) & ~uintptr_t(3));
    const DLGITEMTEMPLATE* it = reinterpret_cast<const DLGITEMTEMPLATE*>(p);
    Item item;
    item.style = it->style;
    item.id = it->id;
    item.x = it->x;
    item.y = it->y;
    item.cx = it->cx;
    item.cy = it->cy;
    p = reinterpret_cast<const WORD*>(it + 1);
    p = ReadString(p, item.cls, true);
    p = ReadString(p, item.text);
    WORD extra = *p++;
    p = reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(p) + extra);
    t.items.push_back(item);
  }
  return t;
}

void ExpectItems(const Template& t, const Item* expected, size_t count) {
  ASSERT_EQ(t.items.size(), count);
  for (size_t i = 0; i < count; ++i) {
    const Item& a = t.items[i];
    const Item& e = expected[i];
    EXPECT_EQ(a.id, e.id) << i;
    EXPECT_EQ(a.cls, e.cls) << i;
    EXPECT_EQ(a.text, e.text) << i;
    EXPECT_EQ(a.style, e.style) << i;
    EXPECT_EQ(a.x, e.x) << i;
    EXPECT_EQ(a.y, e.y) << i;
    EXPECT_EQ(a.cx, e.cx) << i;
    EXPECT_EQ(a.cy, e.cy) << i;
  }
}

const DWORD LABEL = 0x50020000, FIELD = 0x50810000, PUSH = 0x50010000;

// Pins the "IDD_TIMER_DIALOG DIALOG" block of src/resources/Lullex.rc, control by control.
TEST_F(Dll, TimerDialogTemplate) {
  Template t = ReadTemplate(1112);
  EXPECT_EQ(t.style, 0x00C000C0u);
  EXPECT_EQ(t.exStyle, 0u);
  EXPECT_EQ(t.caption, "");
  EXPECT_EQ(t.font, "MS Sans Serif");
  EXPECT_EQ(t.points, 8);
  EXPECT_EQ(t.x, 100);
  EXPECT_EQ(t.y, 100);
  EXPECT_EQ(t.cx, 253);
  EXPECT_EQ(t.cy, 300);
  const Item expected[] = {
      {LABEL, 101, "STATIC", "Exit Record", 44, 10, 100, 8},
      {LABEL, 106, "STATIC", "Fire going into background:", 5, 20, 106, 8},
      {LABEL, 102, "STATIC", "Status:", 5, 30, 100, 8},
      {LABEL, 103, "STATIC", "Setting:", 5, 40, 100, 8},
      {LABEL, 104, "STATIC", "Current:", 5, 50, 100, 8},
      {LABEL, 107, "STATIC", "Timer setting:", 5, 62, 50, 8},
      {FIELD, 108, "EDIT", "", 50, 60, 40, 13},
      {PUSH, 109, "BUTTON", "Set", 95, 60, 20, 13},
      {PUSH, 105, "BUTTON", "Stop timer", 5, 77, 40, 13},
      {PUSH, 110, "BUTTON", "Toggle background", 50, 77, 70, 13},
      {LABEL, 111, "STATIC", "Lock Workstation", 152, 10, 100, 8},
      {LABEL, 112, "STATIC", "Can fire in background:", 132, 20, 100, 8},
      {LABEL, 113, "STATIC", "Status:   Disabled", 132, 30, 100, 8},
      {LABEL, 114, "STATIC", "Setting:   0", 132, 40, 100, 8},
      {LABEL, 115, "STATIC", "Current:  Timer disabled", 132, 50, 100, 8},
      {LABEL, 116, "STATIC", "Timer setting:", 132, 62, 50, 8},
      {FIELD, 117, "EDIT", "", 177, 60, 40, 13},
      {PUSH, 118, "BUTTON", "Set", 222, 60, 20, 13},
      {PUSH, 119, "BUTTON", "Stop timer", 132, 77, 40, 13},
      {PUSH, 120, "BUTTON", "Toggle background", 177, 77, 70, 13},
      {LABEL, 121, "STATIC", "Script Timer", 108, 105, 100, 8},
      {LABEL, 122, "STATIC", "Can fire in background: OFF", 5, 115, 100, 8},
      {LABEL, 123, "STATIC", "Status:   Disabled", 5, 125, 120, 8},
      {LABEL, 124, "STATIC", "Setting:   0", 5, 135, 120, 8},
      {LABEL, 125, "STATIC", "Current:  Timer disabled", 5, 145, 120, 8},
      {LABEL, 126, "STATIC", "Timer setting:", 5, 157, 50, 8},
      {FIELD, 127, "EDIT", "", 50, 155, 40, 13},
      {PUSH, 128, "BUTTON", "Set", 95, 155, 20, 13},
      {PUSH, 129, "BUTTON", "Stop timer", 5, 172, 40, 13},
      {PUSH, 130, "BUTTON", "Toggle background", 50, 172, 70, 13},
      {LABEL, 131, "STATIC", "Database: None", 132, 115, 100, 8},
      {FIELD, 132, "EDIT", "", 132, 125, 85, 13},
      {PUSH, 133, "BUTTON", "Set", 222, 125, 20, 13},
      {LABEL, 134, "STATIC", "Script: None", 132, 139, 100, 8},
      {FIELD, 135, "EDIT", "", 132, 148, 85, 13},
      {PUSH, 136, "BUTTON", "Set", 222, 148, 20, 13},
      {LABEL, 137, "STATIC", "Parameter: None", 132, 163, 100, 8},
      {FIELD, 138, "EDIT", "", 132, 172, 85, 13},
      {PUSH, 139, "BUTTON", "Set", 222, 172, 20, 13},
      {PUSH | BS_DEFPUSHBUTTON, 1129, "BUTTON", "Done", 30, 280, 60, 14},
      {0x50000000 | SS_BLACKFRAME, 131, "STATIC", "", 0, 0, 125, 97},
      {0x50000000 | SS_BLACKFRAME, 132, "STATIC", "", 127, 0, 125, 97},
  };
  ExpectItems(t, expected, 42);
}

// Pins the "IDD_LOGIN DIALOG" and "IDD_BACKDROP DIALOG" blocks of src/resources/Lullex.rc.
TEST_F(Dll, LockScreenTemplates) {
  Template back = ReadTemplate(1130);
  EXPECT_EQ(back.style, 0x90000000u);
  EXPECT_EQ(back.caption, "");
  EXPECT_EQ(back.items.size(), 0u);
  EXPECT_EQ(back.cx, 265);
  EXPECT_EQ(back.cy, 65);

  Template login = ReadTemplate(1125);
  EXPECT_EQ(login.style, 0x10C000C0u);
  EXPECT_EQ(login.caption, "Please Login");
  EXPECT_EQ(login.font, "MS Sans Serif");
  EXPECT_EQ(login.points, 8);
  EXPECT_EQ(login.x, 100);
  EXPECT_EQ(login.cx, 265);
  EXPECT_EQ(login.cy, 65);
  const Item expected[] = {
      {0x50020000, 101, "STATIC", "Password:", 5, 33, 125, 8},
      {0x50810020 | ES_AUTOHSCROLL, 1127, "EDIT", "", 76, 30, 150, 13},
      {0x50010001, 1126, "BUTTON", "OK", 200, 50, 60, 14},
      {0x50020000, 602, "STATIC", "Enter your password to enable this station.", 5, 3, 235, 25},
  };
  ExpectItems(login, expected, 4);
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
