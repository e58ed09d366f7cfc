#include <gtest/gtest.h>

#include "portable/engine/LoginDelay.h"

TEST(LoginDelay, ThreeFreeTriesThenDoublingUpToHalfAMinute) {
  const int32_t expected[] = {0, 0, 0, 0, 2, 4, 8, 16, 30, 30, 30};
  for (int wrong = 0; wrong <= 10; ++wrong) EXPECT_EQ(SecondsToWaitAfterWrongPassword(wrong), expected[wrong]) << wrong;
  EXPECT_EQ(SecondsToWaitAfterWrongPassword(1000000), 30) << "never more, never for good";
}
