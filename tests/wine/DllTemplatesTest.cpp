// The built Lullex.fmx (see DllTest.cpp): its dialog templates, read from the
// loaded image.
#include "DllFixture.h"

namespace {

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

}  // namespace
