// Mac OS Roman to Windows-1252 conversion of the workstation password.
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "portable/classic/MacRomanText.h"

namespace {

unsigned char Convert(unsigned char host) {
  char text[2] = {static_cast<char>(host), '\0'};
  ConvertMacRomanToWindows(text);
  return static_cast<unsigned char>(text[0]);
}

TEST(MacRomanText, EmptyAndAsciiTextStayAsTheyAre) {
  char empty[1] = "";
  ConvertMacRomanToWindows(empty);
  EXPECT_STREQ(empty, "");
  char ascii[] = "Secret 123 ~!@#$%^&*()_+{}|:\"<>?";
  ConvertMacRomanToWindows(ascii);
  EXPECT_STREQ(ascii, "Secret 123 ~!@#$%^&*()_+{}|:\"<>?");
}

TEST(MacRomanText, KnownCharacters) {
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

TEST(MacRomanText, UpperHalfIsAPermutationAndEachByteIsConvertedOnce) {
  char converted[129];
  for (int i = 0; i < 128; ++i) converted[i] = static_cast<char>(0x80 + i);
  converted[128] = '\0';
  ConvertMacRomanToWindows(converted);
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

TEST(MacRomanText, MixedTextKeepsItsLength) {
  char text[] = "pa\x8Assw\xA7rd";
  ConvertMacRomanToWindows(text);
  EXPECT_STREQ(text, "pa\xE4ssw\xDFrd");
}

}  // namespace
