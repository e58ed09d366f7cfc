// Mac OS Roman to Windows-1252 conversion of the workstation password.
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "Filter.h"

namespace {

unsigned char Convert(unsigned char host) {
  thetemp[0] = static_cast<char>(host);
  thetemp[1] = '\0';
  Filter();
  return static_cast<unsigned char>(thetemp[0]);
}

TEST(FilterTest, EmptyAndAsciiTextStayAsTheyAre) {
  thetemp[0] = '\0';
  Filter();
  EXPECT_STREQ(thetemp, "");
  std::strcpy(thetemp, "Secret 123 ~!@#$%^&*()_+{}|:\"<>?");
  Filter();
  EXPECT_STREQ(thetemp, "Secret 123 ~!@#$%^&*()_+{}|:\"<>?");
}

TEST(FilterTest, KnownCharacters) {
  EXPECT_EQ(Convert(0x80), 0xC4);  // A with diaeresis
  EXPECT_EQ(Convert(0xDB), 0x80);  // euro sign
  EXPECT_EQ(Convert(0xD2), 0x93);  // left double quotation mark
  EXPECT_EQ(Convert(0xD3), 0x94);
  EXPECT_EQ(Convert(0x8E), 0xE9);  // e with acute
  EXPECT_EQ(Convert(0xA7), 0xDF);  // sharp s
  EXPECT_EQ(Convert(0xC6), 0xAD);
  EXPECT_EQ(Convert(0xAE), 0xC6);
  EXPECT_EQ(Convert(0xFF), 0xFE);
  for (unsigned char same : {0xA2, 0xA3, 0xA9, 0xB1, 0xB5}) EXPECT_EQ(Convert(same), same);
}

TEST(FilterTest, UpperHalfIsAPermutationAndEachByteIsConvertedOnce) {
  for (int i = 0; i < 128; ++i) thetemp[i] = static_cast<char>(0x80 + i);
  thetemp[128] = '\0';
  Filter();
  char converted[TEMP_TEXT_SIZE];
  std::memcpy(converted, thetemp, sizeof converted);
  EXPECT_EQ(std::strlen(converted), 128u);
  std::set<unsigned char> seen;
  for (int i = 0; i < 128; ++i) {
    unsigned char byte = static_cast<unsigned char>(converted[i]);
    EXPECT_GE(byte, 0x80);
    seen.insert(byte);
    EXPECT_EQ(byte, Convert(static_cast<unsigned char>(0x80 + i))) << "converted twice at " << i;
  }
  EXPECT_EQ(seen.size(), 128u);
}

TEST(FilterTest, MixedTextKeepsItsLength) {
  std::strcpy(thetemp, "pa\x8Assw\xA7rd");
  Filter();
  EXPECT_STREQ(thetemp, "pa\xE4ssw\xDFrd");
}

}  // namespace
