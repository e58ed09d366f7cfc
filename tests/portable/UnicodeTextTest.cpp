// UTF-16 as today's FileMaker and Windows hand it over, kept as UTF-8.
#include <gtest/gtest.h>

#include <string>

#include "portable/text/UnicodeText.h"

namespace {

std::string Utf8(const std::u16string& units, size_t room = 64) {
  std::string out(room, '#');
  size_t n = Utf16ToUtf8(units.data(), units.size(), &out[0], room);
  EXPECT_EQ(out[n], '\0');
  return out.substr(0, n);
}

TEST(UnicodeText, EncodesEveryWidthAndCountsPairsOnce) {
  EXPECT_EQ(Utf8(u"Grüße 7"),
            "Gr\xC3\xBC\xC3\x9F"
            "e 7");
  EXPECT_EQ(Utf8(u"Пароль-Δ7"),
            "\xD0\x9F\xD0\xB0\xD1\x80\xD0\xBE\xD0\xBB\xD1\x8C-\xCE\x94"
            "7");
  EXPECT_EQ(Utf8(u"密码"), "\xE5\xAF\x86\xE7\xA0\x81");
  EXPECT_EQ(Utf8(u"\U0001F600"), "\xF0\x9F\x98\x80");
  EXPECT_EQ(CountCharacters(u"a\U0001F600b", 4), 3u);
  EXPECT_EQ(CountCharacters(u"", 0), 0u);
}

TEST(UnicodeText, UnpairedSurrogatesBecomeTheReplacementCharacter) {
  // As Windows converts them, so that a password and what is typed match.
  EXPECT_EQ(Utf8(std::u16string(1, u'\xD83D') + u"x"),
            "\xEF\xBF\xBD"
            "x");
  EXPECT_EQ(Utf8(std::u16string(1, u'\xDE00')), "\xEF\xBF\xBD");
  EXPECT_EQ(CountCharacters(u"\xDE00\xD83D", 2), 2u);
}

TEST(UnicodeText, Utf8GoesBackToTheSameUnits) {
  const std::u16string all = u"Grüße Пароль 密码 \U0001F600 x";
  std::string kept = Utf8(all, 128);
  char16_t units[64];
  EXPECT_EQ(std::u16string(units, Utf8ToUtf16(kept.c_str(), units, 64)), all);
  EXPECT_EQ(std::u16string(units, Utf8ToUtf16("a\xF0\x9F\x98\x80", units, 2)), u"a") << "a pair is not split";
  EXPECT_EQ(std::u16string(units, Utf8ToUtf16("\xE5\xAF", units, 8)), u"\xFFFD\xFFFD") << "cut short";
}

TEST(UnicodeText, StopsBeforeACharacterThatDoesNotFit) {
  EXPECT_EQ(Utf8(u"ab\U0001F600", 6), "ab") << "four bytes and the terminator need five";
  EXPECT_EQ(Utf8(u"ab\U0001F600", 7), "ab\xF0\x9F\x98\x80");
  EXPECT_EQ(Utf8(u"abc", 1), "");
}

}  // namespace
