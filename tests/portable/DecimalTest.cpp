#include <gtest/gtest.h>

#include "portable/text/NumberText.h"

TEST(ParseDecimalTest, ReadsLikeStrtolWithin32Bits) {
  EXPECT_EQ(ParseDecimal("30"), 30);
  EXPECT_EQ(ParseDecimal(" +12abc"), 12);
  EXPECT_EQ(ParseDecimal("\t\n\v\f\r -5"), -5);
  EXPECT_EQ(ParseDecimal(""), 0);
  EXPECT_EQ(ParseDecimal("abc"), 0);
  EXPECT_EQ(ParseDecimal("- 5"), 0);
  EXPECT_EQ(ParseDecimal("0x10"), 0);
  EXPECT_EQ(ParseDecimal("2147483647"), 2147483647);
  EXPECT_EQ(ParseDecimal("2147483648"), 2147483647);
  EXPECT_EQ(ParseDecimal("-2147483648"), INT32_MIN);
  EXPECT_EQ(ParseDecimal("-2147483649"), INT32_MIN);
  EXPECT_EQ(ParseDecimal("99999999999"), 2147483647);
  EXPECT_EQ(ParseDecimal("99999999999999999999999"), 2147483647);
  EXPECT_EQ(ParseDecimal("\xA0"
                         "5"),
            0)
      << "only ASCII white space is skipped";
}
