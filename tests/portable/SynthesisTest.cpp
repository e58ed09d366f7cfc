// Keyboard event synthesis: flags, scan codes, modifiers, delays, Num Lock.
#include <gtest/gtest.h>

#include "RecordingKeyPort.h"
#include "portable/keys/SendKeys.h"

namespace {

class Synthesis : public ::testing::Test {
 protected:
  void SetUp() override {
    recorder::Reset();
    CurrentKeySequenceState().pumpEachEvent = 0;
  }
  void TearDown() override { EXPECT_EQ(recorder::WrongScanCodes(), 0); }
};

TEST_F(Synthesis, EventSequencesOfSingleCalls) {
  struct Case {
    void (*call)();
    const char* trace;
  } cases[] = {
      {[] { TypeKeyCode(0x000D, 1, 1); }, "Enter↓ Enter↑e"},
      {[] { TypeKeyCode(0x0141, 1, 1); }, "Shift↓ A↓ A↑e Shift↑"},
      {[] { TypeKeyCode(0x0641, 1, 1); }, "Ctrl↓ Alt↓ A↓ A↑e Ctrl↑ Alt↑"},
      {[] { TypeKeyCode(0x0025, 2, 1); }, "Left↓e Left↑e Left↓e Left↑e"},
      {[] { TypeKeyCode(0x0341, 1, 0); }, "Shift↓ Ctrl↓ A↓ Shift↑ Ctrl↑"},
      {[] { TypeKeyCode(0x0141, 0, 1); }, "Shift↓ Shift↑"},
      {[] { TypeKeyCode(0xF841, 1, 1); }, "A↓ A↑e"},  // bits above Alt are ignored
      {[] { PressKey(0x10, 1, 0); }, "Shift↓"},
      {[] { PressKey(0x0D, 1, 1); }, "Enter↓ Enter↑e"},
      {[] { ReleaseKey(0x2E); }, "Delete↑e"},
      {[] { ReleaseKey(0x5B); }, "LeftWin↑"},
      {[] { ReleaseKey(0x0D); }, "Enter↑"},
      {[] { PressKey(0x5B, 1, 0); }, "LeftWin↓"},
      {[] { PressKey(0x14, 1, 1); }, "CapsLock↓ CapsLock↑e"},
  };
  for (const Case& c : cases) {
    recorder::calls.clear();
    c.call();
    EXPECT_EQ(recorder::Trace(), c.trace);
  }
}

TEST_F(Synthesis, OnlyTheTenListedKeysAreExtended) {
  int extended = 0;
  for (int vk = 0; vk < 256; ++vk) extended += IsExtendedKey(static_cast<uint8_t>(vk));
  EXPECT_EQ(extended, 10);
  for (uint8_t vk : {0x26, 0x28, 0x25, 0x27, 0x24, 0x23, 0x21, 0x22, 0x2D, 0x2E}) EXPECT_TRUE(IsExtendedKey(vk));
  for (uint8_t vk : {0x5B, 0x5C, 0x5D, 0x6F, 0x2C, 0x03, 0x10, 0x11, 0x12}) EXPECT_FALSE(IsExtendedKey(vk));
}

TEST_F(Synthesis, CarryDelayUsesOneShotThenStanding) {
  CurrentKeySequenceState().delayEveryKeyMs = 100;
  CurrentKeySequenceState().delayNextKeyMs = 500;
  TypeKeyCode(0x41, 1, 1);
  TypeKeyCode(0x42, 1, 1);
  EXPECT_EQ(recorder::Trace(), "sleep 500 A↓ A↑e sleep 100 B↓ B↑e");
  EXPECT_EQ(CurrentKeySequenceState().delayNextKeyMs, 0u);
  recorder::calls.clear();
  CurrentKeySequenceState().delayEveryKeyMs = 0;
  TypeKeyCode(0x0141, 2, 1);
  EXPECT_EQ(recorder::Trace(), "Shift↓ A↓ A↑e A↓ A↑e Shift↑") << "no Sleep when both delays are 0";
  recorder::calls.clear();
  CurrentKeySequenceState().delayEveryKeyMs = 100;
  TypeKeyCode(0x0141, 2, 1);
  EXPECT_EQ(recorder::Trace(), "Shift↓ sleep 100 A↓ A↑e sleep 100 A↓ A↑e Shift↑")
      << "modifier presses get no delay, every press of the key does";
}

TEST_F(Synthesis, WaitDispatchesAfterEachEvent) {
  CurrentKeySequenceState().pumpEachEvent = 1;
  TypeKeyCode(0x0141, 1, 1);
  EXPECT_EQ(recorder::Trace(), "Shift↓ pump A↓ pump A↑e pump Shift↑ pump");
}

TEST_F(Synthesis, CountOf65535IsExact) {
  PressKey(0x41, 65535, 1);
  EXPECT_EQ(recorder::KeyEvents(), 2 * 65535);
  recorder::calls.clear();
  PressKey(0x41, 0, 1);
  EXPECT_EQ(recorder::KeyEvents(), 0);
}

TEST_F(Synthesis, NumLockOnTheNtFamilySendsTwoFixedEventsWithoutDispatch) {
  CurrentKeySequenceState().pumpEachEvent = 1;
  CurrentKeySequenceState().delayEveryKeyMs = 7;
  PressKey(0x90, 1, 0);
  EXPECT_EQ(recorder::Trace(), "NumLock↓e NumLock↑e") << "no delay and no pump, even without release";
  recorder::calls.clear();
  TypeKeyCode(0x90, 2, 1);
  EXPECT_EQ(recorder::Trace(), "sleep 7 NumLock↓e NumLock↑e sleep 7 NumLock↓e NumLock↑e");
  for (const PortCall& call : recorder::calls) {
    if (call.kind == PortCall::Keybd) {
      EXPECT_EQ(call.b, 0x45u);
    }
  }
  recorder::calls.clear();
  PressKey(0x90, 0, 1);
  EXPECT_EQ(recorder::Trace(), "");
}

TEST_F(Synthesis, NumLockOnWindows95FlipsTheToggleBit) {
  recorder::version = 0xC0000004;  // 4.00, Windows 95 family
  recorder::numLockState = 0;
  recorder::keyboard[0x90] = 0x80;
  PressKey(0x90, 1, 1);
  EXPECT_EQ(recorder::Trace(), "setstate 81");
  recorder::calls.clear();
  recorder::numLockState = 1;
  PressKey(0x90, 1, 1);
  EXPECT_EQ(recorder::Trace(), "setstate 80");
  EXPECT_EQ(recorder::KeyEvents(), 0);
}

TEST_F(Synthesis, NumLockOnWindows98DoesNothing) {
  for (uint32_t version : {0xC0000A04u, 0xC0005A04u}) {  // 4.10 and 4.90
    recorder::calls.clear();
    recorder::version = version;
    TypeKeyCode(0x90, 3, 1);
    EXPECT_EQ(recorder::Trace(), "");
  }
}

TEST(BitSetTest, TestsAnyCommonBit) {
  EXPECT_TRUE(HasBit(0x01, KEYCODE_SHIFT));
  EXPECT_FALSE(HasBit(0x06, KEYCODE_SHIFT));
  EXPECT_TRUE(HasBit(0x06, KEYCODE_ALT));
  EXPECT_FALSE(HasBit(0x00, 0xFF));
}

}  // namespace
