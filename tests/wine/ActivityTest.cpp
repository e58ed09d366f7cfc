// Activity detection against the thread's real keyboard state and cursor.
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "WinTestSupport.h"
#include "idle/Activity.h"

namespace {

class Activity : public ::testing::Test {
 protected:
  void SetUp() override {
    GetKeyboardState(saved_);
    ClearKeys();
  }
  void TearDown() override { SetKeyboardState(saved_); }
  void ClearKeys() {
    BYTE none[256] = {};
    SetKeyboardState(none);
  }
  void Down(BYTE vk) {
    BYTE state[256] = {};
    state[vk] = 0x80;
    SetKeyboardState(state);
  }
  BYTE saved_[256];
};

TEST_F(Activity, KeyScanSeesExactlyItsKeys) {
  std::set<int> expected;
  const int ranges[][2] = {{0x01, 0x04}, {0x08, 0x09}, {0x0C, 0x0D}, {0x10, 0x10}, {0x12, 0x14},
                           {0x1B, 0x1B}, {0x20, 0x29}, {0x2B, 0x39}, {0x41, 0x5D}, {0x60, 0x6C},
                           {0x6E, 0x87}, {0x90, 0x91}, {0xF6, 0xFE}};
  for (const auto& r : ranges)
    for (int vk = r[0]; vk <= r[1]; ++vk) expected.insert(vk);
  ASSERT_EQ(expected.size(), 117u);
  for (int vk = 1; vk < 256; ++vk) {
    Down(static_cast<BYTE>(vk));
    EXPECT_EQ(checkkeys(), expected.count(vk) ? 1 : 0) << "vk " << vk;
  }
  ClearKeys();
  EXPECT_EQ(checkkeys(), 0);
}

TEST_F(Activity, KeyScanIgnoresToggleBitsAndTheUnlistedModifiers) {
  BYTE state[256] = {};
  state[VK_CAPITAL] = 0x01;
  state[VK_NUMLOCK] = 0x01;
  state[VK_CONTROL] = 0x80;
  state[VK_PRINT] = 0x80;
  state[VK_SUBTRACT] = 0x80;
  state[VK_LSHIFT] = 0x80;
  SetKeyboardState(state);
  EXPECT_EQ(checkkeys(), 0);
  state[VK_MENU] = 0x80;
  SetKeyboardState(state);
  EXPECT_EQ(checkkeys(), 1);
}

TEST_F(Activity, KeyboardTestSeesDownAndToggleBits) {
  ActivitySnapshot snap;
  TakeSnapshot(snap);
  ReadActivity(snap);
  EXPECT_FALSE(KeyboardChanged(snap));
  BYTE state[256];
  GetKeyboardState(state);
  state[VK_SCROLL] ^= 0x01;
  SetKeyboardState(state);
  ReadActivity(snap);
  EXPECT_TRUE(KeyboardChanged(snap)) << "a toggle bit alone is activity";
  RefreshKeyboardSnapshot(snap);
  EXPECT_FALSE(KeyboardChanged(snap));
  EXPECT_EQ(std::memcmp(snap.abKeyState, snap.abKeyState2, 256), 0);
  state[0xFE] = 0x80;
  SetKeyboardState(state);
  ReadActivity(snap);
  EXPECT_TRUE(KeyboardChanged(snap)) << "the last byte takes part";
}

TEST_F(Activity, CursorTestIsExactEquality) {
  ActivitySnapshot snap;
  ASSERT_TRUE(MoveCursor(200, 200));
  TakeSnapshot(snap);
  EXPECT_EQ(snap.ptOld.x, 200);
  ASSERT_TRUE(MoveCursor(201, 200));
  EXPECT_TRUE(CursorMoved(snap, ReadActivity(snap)));
  ASSERT_TRUE(MoveCursor(200, 200));
  EXPECT_FALSE(CursorMoved(snap, ReadActivity(snap))) << "moved and came back: no activity";
}

}  // namespace
