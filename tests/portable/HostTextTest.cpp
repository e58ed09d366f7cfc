// Reading parameters and writing replies through host callbacks.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "HostHandles.h"
#include "portable/classic/HostText.h"

namespace {

const HostCallbacks kHost = FakeHostCallbacks();

class HostText : public ::testing::Test {
 protected:
  void SetUp() override { SetFakeResizeFails(false); }
  void TearDown() override { SetFakeResizeFails(false); }
};

TEST_F(HostText, ReadsUpTo254BytesOrTheFirstNulInWindowsText) {
  char buffer[PARAMETER_TEXT_SIZE];
  FakeHandle longest(std::string(254, 'p'));
  ParameterText p = ReadClassicParameter(kHost, longest.Handle(), buffer);
  EXPECT_TRUE(p.readable);
  EXPECT_FALSE(p.empty);
  EXPECT_EQ(std::string(p.text), std::string(254, 'p'));

  FakeHandle withNul(std::string("ab\0cd", 5));
  p = ReadClassicParameter(kHost, withNul.Handle(), buffer);
  EXPECT_STREQ(p.text, "ab");
  EXPECT_TRUE(ParameterLengthIsGood(p)) << "the size counts, not the text up to its NUL";

  FakeHandle macRoman(
      "Gr\x9F\xA7"
      "e");  // "Grüße" in Mac OS Roman
  EXPECT_STREQ(ReadClassicParameter(kHost, macRoman.Handle(), buffer).text,
               "Gr\xFC\xDF"
               "e");

  FakeHandle empty("");
  p = ReadClassicParameter(kHost, empty.Handle(), buffer);
  EXPECT_TRUE(p.readable);
  EXPECT_TRUE(p.empty);
  EXPECT_STREQ(p.text, "");
}

TEST_F(HostText, RefusesLongOrNegativeSizesWithoutTouchingTheBuffer) {
  char buffer[PARAMETER_TEXT_SIZE] = "keep";
  FakeHandle h(std::string(255, 'p'));
  EXPECT_FALSE(ReadClassicParameter(kHost, h.Handle(), buffer).readable);
  EXPECT_STREQ(buffer, "keep");
  h.size = -1;
  EXPECT_FALSE(ReadClassicParameter(kHost, h.Handle(), buffer).readable);
  EXPECT_STREQ(buffer, "keep");
  h.size = 255;
}

TEST_F(HostText, ReplyIsExactlyItsBytes) {
  FakeHandle result("previous reply");
  WriteReply(kHost, result.Handle(), "Lullex v1.91");
  EXPECT_EQ(result.size, 12);
  EXPECT_EQ(result.Content(), "Lullex v1.91");
  WriteReply(kHost, result.Handle(), "0");
  EXPECT_EQ(result.Content(), "0");
}

TEST_F(HostText, FailedResizeWritesNothing) {
  FakeHandle result("host");
  SetFakeResizeFails(true);
  int resizes = FakeResizeCount();
  WriteReply(kHost, result.Handle(), "$$001$$");
  EXPECT_EQ(FakeResizeCount(), resizes + 1);
  EXPECT_EQ(result.Content(), "host");
}

}  // namespace
