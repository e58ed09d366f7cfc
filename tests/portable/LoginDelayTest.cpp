#include <gtest/gtest.h>

#include "portable/engine/LoginDelay.h"

TEST(LoginDelay, ThreeFreeTriesThenDoublingUpToHalfAMinute) {
  const int32_t expected[] = {0, 0, 0, 0, 2, 4, 8, 16, 30, 30, 30};
  for (int wrong = 0; wrong <= 10; ++wrong) EXPECT_EQ(SecondsToWaitAfterWrongPassword(wrong), expected[wrong]) << wrong;
  EXPECT_EQ(SecondsToWaitAfterWrongPassword(1000000), 30) << "never more, never for good";
}

TEST(LoginDelay, TheSecondsLeftCountDownToTheDeadlineAcrossTheClocksWrap) {
  for (uint32_t start : {0u, 0xFFFFF000u}) {  // the second wraps during the wait
    uint32_t end = start + 2000;
    EXPECT_EQ(SecondsLeftOfWait(end, start), 2);
    EXPECT_EQ(SecondsLeftOfWait(end, start + 1), 2) << "rounded up: never shown ended early";
    EXPECT_EQ(SecondsLeftOfWait(end, start + 1000), 1);
    EXPECT_EQ(SecondsLeftOfWait(end, start + 1999), 1);
    EXPECT_EQ(SecondsLeftOfWait(end, end), 0);
    EXPECT_EQ(SecondsLeftOfWait(end, end + 5000), 0) << "a tick that came late";
  }
}
