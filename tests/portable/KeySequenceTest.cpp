// The key-sequence language, observed through the recording port.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "RecordingKeyPort.h"
#include "portable/keys/SendKeys.h"

namespace {

class KeySequence : public ::testing::Test {
 protected:
  void SetUp() override { recorder::Reset(); }
  void TearDown() override {
    EXPECT_EQ(recorder::WrongScanCodes(), 0);
    EXPECT_EQ(recorder::ModifiersDown(), "") << "a prefix modifier is still down";
  }
  std::string Send(const std::string& text, int expectedResult = 1) {
    recorder::calls.clear();
    EXPECT_EQ(SendKeys(text.c_str(), 0), expectedResult) << text;
    return recorder::Trace();
  }
};

TEST_F(KeySequence, ExitRecordSequenceIsControlEnterTwice) {
  EXPECT_EQ(Send("^{ENTER}^{ENTER}"), "Ctrl↓ Enter↓ Enter↑e Ctrl↑ Ctrl↓ Enter↓ Enter↑e Ctrl↑");
}

TEST_F(KeySequence, EmptyTextSendsNothing) { EXPECT_EQ(Send(""), ""); }

TEST_F(KeySequence, PlainBytesFollowTheLayout) {
  EXPECT_EQ(Send("a"), "A↓ A↑e");
  EXPECT_EQ(Send("A"), "Shift↓ A↓ A↑e Shift↑");
  EXPECT_EQ(Send("1 "), "1↓ 1↑e Space↓ Space↑e");
  EXPECT_EQ(Send("}"), "Shift↓ 0xDD↓ 0xDD↑e Shift↑");
  EXPECT_EQ(Send("\x80"), "") << "a byte the layout cannot type sends nothing";
}

TEST_F(KeySequence, PrefixesHoldTheirModifierForOneKey) {
  EXPECT_EQ(Send("+abc"), "Shift↓ A↓ A↑e Shift↑ B↓ B↑e C↓ C↑e");
  EXPECT_EQ(Send("^a"), "Ctrl↓ A↓ A↑e Ctrl↑");
  EXPECT_EQ(Send("%a"), "Alt↓ A↓ A↑e Alt↑");
  EXPECT_EQ(Send("@a"), "LeftWin↓ A↓ A↑e LeftWin↑");
  EXPECT_EQ(Send("+^%@a"), "Shift↓ Ctrl↓ Alt↓ LeftWin↓ A↓ A↑e Shift↑ Ctrl↑ Alt↑ LeftWin↑");
  EXPECT_EQ(Send("++a"), "Shift↓ Shift↓ A↓ A↑e Shift↑");
}

TEST_F(KeySequence, ParenthesesKeepModifiersForTheGroupAndDoNotNest) {
  EXPECT_EQ(Send("+(abc)"), "Shift↓ A↓ A↑e B↓ B↑e C↓ C↑e Shift↑");
  EXPECT_EQ(Send("+(ab"), "Shift↓ A↓ A↑e B↓ B↑e Shift↑");
  EXPECT_EQ(Send("+((a)b)"), "Shift↓ A↓ A↑e Shift↑ B↓ B↑e");
  EXPECT_EQ(Send("+()a"), "Shift↓ Shift↑ A↓ A↑e");
}

TEST_F(KeySequence, TildeIsEnterWithoutDelay) {
  EXPECT_EQ(Send("{DELAY=100}~"), "Enter↓ Enter↑e");
  EXPECT_EQ(Send("^~a"), "Ctrl↓ Enter↓ Enter↑e Ctrl↑ sleep 100 A↓ A↑e");
}

TEST_F(KeySequence, KeyNamesIgnoreCase) {
  std::string enter = "Enter↓ Enter↑e";
  EXPECT_EQ(Send("{enter}"), enter);
  EXPECT_EQ(Send("{Enter}"), enter);
  EXPECT_EQ(Send("{ENTER}"), enter);
  EXPECT_EQ(Send("{F1}"), "F1↓ F1↑e");
  EXPECT_EQ(Send("{F16}"), "F16↓ F16↑e");
  EXPECT_EQ(Send("{LEFT}"), "Left↓e Left↑e");
  EXPECT_EQ(Send("{LEFTBRACE}"), "Shift↓ 0xDB↓ 0xDB↑e Shift↑");
  EXPECT_EQ(Send("{PRTSC}"), "Print↓ Print↑e");
  EXPECT_EQ(Send("{DEL}"), "Delete↓e Delete↑e");
  EXPECT_EQ(Send("{win}"), "LeftWin↓ LeftWin↑e");
}

TEST_F(KeySequence, CountsRepeatTheKeyAndAreClamped) {
  EXPECT_EQ(Send("{TAB 3}"), "Tab↓ Tab↑e Tab↓ Tab↑e Tab↓ Tab↑e");
  EXPECT_EQ(Send("{TAB 0}"), "");
  EXPECT_EQ(Send("{TAB -5}"), "");
  EXPECT_EQ(Send("+{TAB 0}a"), "Shift↓ Shift↑ A↓ A↑e") << "a key name that sent nothing still releases";
  Send("{TAB 65535}");
  EXPECT_EQ(recorder::KeyEvents(), 2 * 65535);
  Send("{TAB 70000}");
  EXPECT_EQ(recorder::KeyEvents(), 2 * 65535);
  Send("{TAB 99999999999}");
  EXPECT_EQ(recorder::KeyEvents(), 2 * 65535);
}

TEST_F(KeySequence, UnknownNamesAndEmptyGroupsSendNothingAndKeepModifiers) {
  EXPECT_EQ(Send("+{BOGUS}a"), "Shift↓ A↓ A↑e Shift↑");
  EXPECT_EQ(Send("{}}"), "Shift↓ 0xDD↓ 0xDD↑e Shift↑");
  EXPECT_EQ(Send("{F}"), "");
  EXPECT_EQ(Send("{}"), "");
  EXPECT_EQ(Send("{ENTER"), "Enter↓ Enter↑e") << "an unclosed group runs to the end of the text";
}

TEST_F(KeySequence, VkeySendsAWholeKeyCode) {
  EXPECT_EQ(Send("{VKEY 13}"), "Enter↓ Enter↑e");
  EXPECT_EQ(Send("{VKEY 321}"), "Shift↓ A↓ A↑e Shift↑");
  EXPECT_EQ(Send("{vkey 1601}"), "Ctrl↓ Alt↓ A↓ A↑e Ctrl↑ Alt↑");
  EXPECT_EQ(Send("+{VKEY 65535}a"), "Shift↓ A↓ A↑e Shift↑") << "NO_KEY sends nothing";
}

TEST_F(KeySequence, BeepNeedsBothArgumentsInRange) {
  EXPECT_EQ(Send("{BEEP 440 250}"), "beep 440,250");
  EXPECT_EQ(Send("{BEEP 440}"), "");
  EXPECT_EQ(Send("{BEEP}"), "");
  EXPECT_EQ(Send("{BEEP 36 100}"), "");
  EXPECT_EQ(Send("{BEEP 32768 100}"), "");
  EXPECT_EQ(Send("{BEEP 440 10001}"), "");
  EXPECT_EQ(Send("{BEEP 440 -1}"), "");
  EXPECT_EQ(Send("{BEEP 37 10000}{BEEP 32767 0}"), "beep 37,10000 beep 32767,0");
  EXPECT_EQ(Send("+{BEEP 440 250}a"), "Shift↓ beep 440,250 A↓ A↑e Shift↑");
}

TEST_F(KeySequence, AppActivateTakesTheTitleAfterTheWord) {
  EXPECT_EQ(Send("{APPACTIVATE Untitled - Notepad}"), "activate 'Untitled - Notepad'");
  EXPECT_EQ(Send("{APPACTIVATE Calc}{appactivate}{APPACTIVATE }"), "activate 'Calc' activate '' activate ''")
      << "with 12 bytes or fewer the title is empty, whatever the buffer held before";
  EXPECT_EQ(Send("^{APPACTIVATE Calc}a"), "Ctrl↓ activate 'Calc' A↓ A↑e Ctrl↑");
}

TEST_F(KeySequence, OneShotDelayReplacesTheStandingDelayOnce) {
  EXPECT_EQ(Send("^{DELAY 500}s"), "Ctrl↓ sleep 500 S↓ S↑e Ctrl↑");
  EXPECT_EQ(Send("{DELAY=100}{DELAY 500}ab"), "sleep 500 A↓ A↑e sleep 100 B↓ B↑e");
  EXPECT_EQ(Send("c"), "sleep 100 C↓ C↑e") << "a standing delay outlives the call";
  EXPECT_EQ(Send("{DELAY=0}c"), "C↓ C↑e");
  EXPECT_EQ(Send("{DELAY 300}"), "");
  EXPECT_EQ(Send("d"), "sleep 300 D↓ D↑e") << "an unused one-shot delay waits for the next call";
  EXPECT_EQ(Send("{DELAY 2}{TAB 2}"), "sleep 2 Tab↓ Tab↑e Tab↓ Tab↑e");
}

TEST_F(KeySequence, DelaysAreClampedSoNothingHangs) {
  EXPECT_EQ(Send("{DELAY -5}a"), "A↓ A↑e");
  EXPECT_EQ(Send("{DELAY 99999}a"), "sleep 10000 A↓ A↑e");
  EXPECT_EQ(Send("{DELAY=-1}a"), "A↓ A↑e");
  EXPECT_EQ(Send("{DELAY=4294967295}a{DELAY=0}"), "sleep 10000 A↓ A↑e");
  EXPECT_EQ(Send("{DELAY=99999999999}a{DELAY=0}"), "sleep 10000 A↓ A↑e");
}

TEST_F(KeySequence, BraceGroupsOf300BytesStopTheCall) {
  std::string title(287, 'x');  // "APPACTIVATE " + 287 = 299 bytes
  EXPECT_EQ(Send("{APPACTIVATE " + title + "}a"), "activate '" + title + "' A↓ A↑e");
  EXPECT_EQ(Send("+(a{APPACTIVATE " + title + "x}b", 0), "Shift↓ A↓ A↑e Shift↑")
      << "nothing after the group is sent and Shift is released";
  EXPECT_EQ(Send("{" + std::string(5000, 'q'), 0), "");
}

TEST_F(KeySequence, WaitPumpsAfterEveryEvent) {
  recorder::calls.clear();
  EXPECT_EQ(SendKeys("^a", 1), 1);
  EXPECT_EQ(recorder::Trace(), "Ctrl↓ pump A↓ pump A↑e pump Ctrl↑ pump");
  EXPECT_EQ(CurrentKeySequenceState().pumpEachEvent, 1);
  Send("a");
  EXPECT_EQ(CurrentKeySequenceState().pumpEachEvent, 0);
}

// Whatever the text, a finished call leaves no prefix modifier down.
TEST_F(KeySequence, NoModifierLeftDownOnAnyPath) {
  const char alphabet[] = "+^%@(){}~a1 ENTERTABVKEYDELAY=3x";
  uint32_t seed = 12345;
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    int length = 1 + static_cast<int>(seed % 40);
    for (int i = 0; i < length; ++i) {
      seed = seed * 1103515245u + 12345u;
      text += alphabet[(seed >> 16) % (sizeof alphabet - 1)];
    }
    if (round % 7 == 0) text += "{" + std::string(300 + round % 5, 'z') + "}";
    recorder::Reset();
    SendKeys(text.c_str(), 0);
    ASSERT_EQ(recorder::ModifiersDown(), "") << text;
    const KeySequenceState& k = CurrentKeySequenceState();
    ASSERT_FALSE(k.shiftHeld || k.controlHeld || k.altHeld || k.windowsHeld || k.inGroup) << text;
  }
}

TEST(KeyNameTable, IsSortedAndEveryNameIsFoundInAnyCase) {
  for (int i = 1; i < KEY_NAME_COUNT; ++i)
    EXPECT_LT(strcasecmp(KEY_NAMES[i - 1].name, KEY_NAMES[i].name), 0) << KEY_NAMES[i].name;
  for (int i = 0; i < KEY_NAME_COUNT; ++i) {
    std::string lower = KEY_NAMES[i].name;
    for (char& c : lower) c = static_cast<char>(tolower(c));
    int index = -2;
    EXPECT_EQ(FindKeyName(lower.c_str(), index), KEY_NAMES[i].vkey);
    EXPECT_EQ(index, i);
  }
}

TEST(KeyNameTable, OnlyWholeNamesMatch) {
  int index = 0;
  EXPECT_EQ(FindKeyName("F1", index), 0x70);
  EXPECT_EQ(index, 19);
  EXPECT_EQ(FindKeyName("left", index), 0x25);
  EXPECT_EQ(index, 38);
  EXPECT_EQ(FindKeyName("DEL", index), 0x2E);
  EXPECT_EQ(index, 11);
  for (const char* name : {"", "F", "LEFTX", "ENTE", "ENTER ", "ZZZ", "AAA", "F1_"}) {
    EXPECT_EQ(FindKeyName(name, index), NO_KEY) << name;
    EXPECT_EQ(index, -1);
  }
}

}  // namespace
