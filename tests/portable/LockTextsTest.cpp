// The lock's texts in each language, the choice of language, and the text a
// countdown or the solution's line becomes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "portable/engine/GuardState.h"
#include "portable/text/LockTexts.h"
#include "portable/text/UnicodeText.h"

namespace {

const int LANGUAGES = static_cast<int>(LockLanguage::Count);
const int TEXTS = static_cast<int>(LockText::Count);

LockText Text(int i) { return static_cast<LockText>(i); }
LockLanguage Language(int i) { return static_cast<LockLanguage>(i); }

bool IsCountdown(LockText text) { return text == LockText::LoginCountdown || text == LockText::WarningCountdown; }

std::string Countdown(const char* pattern, int32_t seconds, size_t size = 128) {
  std::string out(size, '#');
  size_t n = FillCountdown(pattern, seconds, &out[0], size);
  EXPECT_EQ(out[n], '\0');
  return out.substr(0, n);
}

std::string Shown(const char* message, size_t size = 2 * LOCK_MESSAGE_SIZE) {
  std::string out(size, '#');
  size_t n = LockMessageForDisplay(message, &out[0], size);
  EXPECT_EQ(out[n], '\0');
  return out.substr(0, n);
}

// Whole UTF-8 characters only, none of them the replacement character.
bool IsWholeUtf8(const std::string& text) {
  for (size_t i = 0; i < text.size();)
    if (NextUtf8CodePoint(text.c_str(), i) == 0xFFFD) return false;
  return true;
}

TEST(LockTexts, EveryLanguageHasEveryTextAndItsOwnWords) {
  for (int l = 0; l < LANGUAGES; ++l) {
    for (int t = 0; t < TEXTS; ++t) {
      std::string text = LockTextIn(Language(l), Text(t));
      SCOPED_TRACE("language " + std::to_string(l) + ", text " + std::to_string(t) + ": " + text);
      EXPECT_FALSE(text.empty());
      EXPECT_TRUE(IsWholeUtf8(text));
      size_t mark = text.find("{}");
      EXPECT_EQ(mark != std::string::npos, IsCountdown(Text(t))) << "the seconds have their one place";
      if (mark != std::string::npos) {
        EXPECT_EQ(text.find("{}", mark + 1), std::string::npos);
      }
    }
    if (Language(l) == LockLanguage::English) continue;
    // The sentences are translated, not left in English.
    const LockText sentences[] = {LockText::LoginTitle,   LockText::LoginPrompt,      LockText::RefusalMessage,
                                  LockText::RefusalTitle, LockText::WarningCountdown, LockText::WarningHint};
    for (LockText t : sentences)
      EXPECT_STRNE(LockTextIn(Language(l), t), LockTextIn(LockLanguage::English, t)) << "language " << l;
  }
  // FileMaker Pro 5 and 6 show them as Windows text, as they always have.
  for (int t = 0; t < TEXTS; ++t)
    for (const char* c = LockTextIn(LockLanguage::English, Text(t)); *c; ++c)
      EXPECT_LT(static_cast<unsigned char>(*c), 0x80) << LockTextIn(LockLanguage::English, Text(t));
  EXPECT_STREQ(LockTextIn(Language(LANGUAGES + 3), LockText::LoginTitle), "Please Login") << "out of range: English";
}

TEST(LockTexts, TheLanguageIsTheInterfaceLanguagesPrimaryOneOrElseEnglish) {
  const struct {
    uint16_t id;
    LockLanguage language;
  } cases[] = {
      {0x0409, LockLanguage::English},
      {0x0809, LockLanguage::English},
      {0x0407, LockLanguage::German},
      {0x0807, LockLanguage::German},  // Swiss German
      {0x040C, LockLanguage::French},
      {0x0C0C, LockLanguage::French},  // Canadian French
      {0x0410, LockLanguage::Italian},
      {0x0C0A, LockLanguage::Spanish},
      {0x0413, LockLanguage::Dutch},
      {0x041D, LockLanguage::Swedish},
      {0x0416, LockLanguage::BrazilianPortuguese},
      {0x0816, LockLanguage::BrazilianPortuguese},
      {0x0411, LockLanguage::Japanese},
      {0x0804, LockLanguage::SimplifiedChinese},
      {0x0404, LockLanguage::SimplifiedChinese},
      {0x0412, LockLanguage::Korean},
      {0x040B, LockLanguage::English},  // Finnish
      {0x0401, LockLanguage::English},  // Arabic
      {0x0419, LockLanguage::English},  // Russian
      {0x0000, LockLanguage::English},  // Windows could not tell
      {0xFFFF, LockLanguage::English},
  };
  for (const auto& c : cases) EXPECT_EQ(LockLanguageOf(c.id), c.language) << std::hex << c.id;
}

TEST(LockTexts, ACountdownPutsTheSecondsInPlaceAndCutsOnlyWholeCharacters) {
  EXPECT_EQ(Countdown("Try again in {} s.", 16), "Try again in 16 s.");
  EXPECT_EQ(Countdown("{}초 후에 다시 시도하십시오.", 4), "4초 후에 다시 시도하십시오.");
  EXPECT_EQ(Countdown("in {} s", 0), "in 0 s");
  EXPECT_EQ(Countdown("in {} s", 2147483647), "in 2147483647 s");
  EXPECT_EQ(Countdown("in {} s", -2147483647 - 1), "in -2147483648 s");
  EXPECT_EQ(Countdown("no mark", 5), "no mark");
  const char* japanese = LockTextIn(LockLanguage::Japanese, LockText::WarningCountdown);
  std::string whole = Countdown(japanese, 30);
  for (size_t size = 1; size <= whole.size() + 1; ++size) {
    std::string cut = Countdown(japanese, 30, size);
    EXPECT_LT(cut.size(), size);
    EXPECT_EQ(whole.compare(0, cut.size(), cut), 0) << "a beginning of the whole";
    EXPECT_TRUE(IsWholeUtf8(cut)) << size;
  }
  EXPECT_EQ(Countdown("ab {} cd", 12345, 6), "ab 12") << "the number cut too, and nothing after it";
}

TEST(LockTexts, TheSolutionsLineKeepsItsBreaksAndEveryCharacterWhole) {
  EXPECT_EQ(Shown("Front desk 2.\rCall 2231."), "Front desk 2.\r\nCall 2231.");
  EXPECT_EQ(Shown("a\nb\r\nc\n\rd"), "a\r\nb\r\nc\r\n\r\nd") << "LF, CR LF, then LF and CR: two breaks";
  EXPECT_EQ(Shown("tab\there\x01\x7F"), "tab here  ");
  EXPECT_EQ(Shown("C1\xC2\x80\xC2\x85\xC2\x9F|\xC2\xA0\xC2\xA9"), "C1   |\xC2\xA0\xC2\xA9")
      << "C1's controls are controls too; the no-break space and the sign after them are not";
  EXPECT_EQ(Shown("受付 \xF0\x9F\x98\x80 R&D"), "受付 \xF0\x9F\x98\x80 R&D");
  EXPECT_EQ(Shown(""), "");
  EXPECT_EQ(Shown("ab\xF0\x9F\x98\x80", 6), "ab") << "no half of a character";
  EXPECT_EQ(Shown("ab\r", 4), "ab") << "no half of a break";
  // The longest line, all breaks, still fits the room the login keeps.
  std::string breaks(254, '\r');
  EXPECT_EQ(Shown(breaks.c_str()).size(), 2u * 254);
  std::string emoji;
  for (int i = 0; i < 254; ++i) emoji += "\xF0\x9F\x98\x80";
  EXPECT_EQ(Shown(emoji.c_str()), emoji);
}

}  // namespace
