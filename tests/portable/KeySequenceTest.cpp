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
  EXPECT_EQ(Send("^{ENTER}^{ENTER}"), "11:0 0D:0 0D:3 11:2 11:0 0D:0 0D:3 11:2");
}

TEST_F(KeySequence, EmptyTextSendsNothing) { EXPECT_EQ(Send(""), ""); }

TEST_F(KeySequence, PlainBytesFollowTheLayout) {
  EXPECT_EQ(Send("a"), "41:0 41:3");
  EXPECT_EQ(Send("A"), "10:0 41:0 41:3 10:2");
  EXPECT_EQ(Send("1 "), "31:0 31:3 20:0 20:3");
  EXPECT_EQ(Send("}"), "10:0 DD:0 DD:3 10:2");
  EXPECT_EQ(Send("\x80"), "") << "a byte the layout cannot type sends nothing";
}

TEST_F(KeySequence, PrefixesHoldTheirModifierForOneKey) {
  EXPECT_EQ(Send("+abc"), "10:0 41:0 41:3 10:2 42:0 42:3 43:0 43:3");
  EXPECT_EQ(Send("^a"), "11:0 41:0 41:3 11:2");
  EXPECT_EQ(Send("%a"), "12:0 41:0 41:3 12:2");
  EXPECT_EQ(Send("@a"), "5B:0 41:0 41:3 5B:2");
  EXPECT_EQ(Send("+^%@a"), "10:0 11:0 12:0 5B:0 41:0 41:3 10:2 11:2 12:2 5B:2");
  EXPECT_EQ(Send("++a"), "10:0 10:0 41:0 41:3 10:2");
}

TEST_F(KeySequence, ParenthesesKeepModifiersForTheGroupAndDoNotNest) {
  EXPECT_EQ(Send("+(abc)"), "10:0 41:0 41:3 42:0 42:3 43:0 43:3 10:2");
  EXPECT_EQ(Send("+(ab"), "10:0 41:0 41:3 42:0 42:3 10:2");
  EXPECT_EQ(Send("+((a)b)"), "10:0 41:0 41:3 10:2 42:0 42:3");
  EXPECT_EQ(Send("+()a"), "10:0 10:2 41:0 41:3");
}

TEST_F(KeySequence, TildeIsEnterWithoutDelay) {
  EXPECT_EQ(Send("{DELAY=100}~"), "0D:0 0D:3");
  EXPECT_EQ(Send("^~a"), "11:0 0D:0 0D:3 11:2 sleep 100 41:0 41:3");
}

TEST_F(KeySequence, KeyNamesIgnoreCase) {
  std::string enter = "0D:0 0D:3";
  EXPECT_EQ(Send("{enter}"), enter);
  EXPECT_EQ(Send("{Enter}"), enter);
  EXPECT_EQ(Send("{ENTER}"), enter);
  EXPECT_EQ(Send("{F1}"), "70:0 70:3");
  EXPECT_EQ(Send("{F16}"), "7F:0 7F:3");
  EXPECT_EQ(Send("{LEFT}"), "25:1 25:3");
  EXPECT_EQ(Send("{LEFTBRACE}"), "10:0 DB:0 DB:3 10:2");
  EXPECT_EQ(Send("{PRTSC}"), "2A:0 2A:3");
  EXPECT_EQ(Send("{DEL}"), "2E:1 2E:3");
  EXPECT_EQ(Send("{win}"), "5B:0 5B:3");
}

TEST_F(KeySequence, CountsRepeatTheKeyAndAreClamped) {
  EXPECT_EQ(Send("{TAB 3}"), "09:0 09:3 09:0 09:3 09:0 09:3");
  EXPECT_EQ(Send("{TAB 0}"), "");
  EXPECT_EQ(Send("{TAB -5}"), "");
  EXPECT_EQ(Send("+{TAB 0}a"), "10:0 10:2 41:0 41:3") << "a key name that sent nothing still releases";
  Send("{TAB 65535}");
  EXPECT_EQ(recorder::KeyEvents(), 2 * 65535);
  Send("{TAB 70000}");
  EXPECT_EQ(recorder::KeyEvents(), 2 * 65535);
  Send("{TAB 99999999999}");
  EXPECT_EQ(recorder::KeyEvents(), 2 * 65535);
}

TEST_F(KeySequence, UnknownNamesAndEmptyGroupsSendNothingAndKeepModifiers) {
  EXPECT_EQ(Send("+{BOGUS}a"), "10:0 41:0 41:3 10:2");
  EXPECT_EQ(Send("{}}"), "10:0 DD:0 DD:3 10:2");
  EXPECT_EQ(Send("{F}"), "");
  EXPECT_EQ(Send("{}"), "");
  EXPECT_EQ(Send("{ENTER"), "0D:0 0D:3") << "an unclosed group runs to the end of the text";
}

TEST_F(KeySequence, VkeySendsAWholeKeyCode) {
  EXPECT_EQ(Send("{VKEY 13}"), "0D:0 0D:3");
  EXPECT_EQ(Send("{VKEY 321}"), "10:0 41:0 41:3 10:2");
  EXPECT_EQ(Send("{vkey 1601}"), "11:0 12:0 41:0 41:3 11:2 12:2");
  EXPECT_EQ(Send("+{VKEY 65535}a"), "10:0 41:0 41:3 10:2") << "NO_KEY sends nothing";
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
  EXPECT_EQ(Send("+{BEEP 440 250}a"), "10:0 beep 440,250 41:0 41:3 10:2");
}

TEST_F(KeySequence, AppActivateTakesTheTitleAfterTheWord) {
  EXPECT_EQ(Send("{APPACTIVATE Untitled - Notepad}"), "activate 'Untitled - Notepad'");
  EXPECT_EQ(Send("{APPACTIVATE Calc}{appactivate}{APPACTIVATE }"), "activate 'Calc' activate '' activate ''")
      << "with 12 bytes or fewer the title is empty, whatever the buffer held before";
  EXPECT_EQ(Send("^{APPACTIVATE Calc}a"), "11:0 activate 'Calc' 41:0 41:3 11:2");
}

TEST_F(KeySequence, OneShotDelayReplacesTheStandingDelayOnce) {
  EXPECT_EQ(Send("^{DELAY 500}s"), "11:0 sleep 500 53:0 53:3 11:2");
  EXPECT_EQ(Send("{DELAY=100}{DELAY 500}ab"), "sleep 500 41:0 41:3 sleep 100 42:0 42:3");
  EXPECT_EQ(Send("c"), "sleep 100 43:0 43:3") << "a standing delay outlives the call";
  EXPECT_EQ(Send("{DELAY=0}c"), "43:0 43:3");
  EXPECT_EQ(Send("{DELAY 300}"), "");
  EXPECT_EQ(Send("d"), "sleep 300 44:0 44:3") << "an unused one-shot delay waits for the next call";
  EXPECT_EQ(Send("{DELAY 2}{TAB 2}"), "sleep 2 09:0 09:3 09:0 09:3");
}

TEST_F(KeySequence, DelaysAreClampedSoNothingHangs) {
  EXPECT_EQ(Send("{DELAY -5}a"), "41:0 41:3");
  EXPECT_EQ(Send("{DELAY 99999}a"), "sleep 10000 41:0 41:3");
  EXPECT_EQ(Send("{DELAY=-1}a"), "41:0 41:3");
  EXPECT_EQ(Send("{DELAY=4294967295}a{DELAY=0}"), "sleep 10000 41:0 41:3");
  EXPECT_EQ(Send("{DELAY=99999999999}a{DELAY=0}"), "sleep 10000 41:0 41:3");
}

TEST_F(KeySequence, BraceGroupsOf300BytesStopTheCall) {
  std::string title(287, 'x');  // "APPACTIVATE " + 287 = 299 bytes
  EXPECT_EQ(Send("{APPACTIVATE " + title + "}a"), "activate '" + title + "' 41:0 41:3");
  EXPECT_EQ(Send("+(a{APPACTIVATE " + title + "x}b", 0), "10:0 41:0 41:3 10:2")
      << "nothing after the group is sent and Shift is released";
  EXPECT_EQ(Send("{" + std::string(5000, 'q'), 0), "");
}

TEST_F(KeySequence, WaitPumpsAfterEveryEvent) {
  recorder::calls.clear();
  EXPECT_EQ(SendKeys("^a", 1), 1);
  EXPECT_EQ(recorder::Trace(), "11:0 pump 41:0 pump 41:3 pump 11:2 pump");
  EXPECT_EQ(keySequenceState.pumpEachEvent, 1);
  Send("a");
  EXPECT_EQ(keySequenceState.pumpEachEvent, 0);
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
    ASSERT_EQ(keySequenceState.shiftHeld | keySequenceState.controlHeld | keySequenceState.altHeld |
                  keySequenceState.windowsHeld | keySequenceState.inGroup,
              0)
        << text;
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
