// Reading parameters and writing replies through host callbacks.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "HostHandles.h"
#include "portable/text/HostText.h"

namespace {

const HostCallbacks kHost = FakeHostCallbacks();

class HostText : public ::testing::Test {
 protected:
  void SetUp() override { SetFakeResizeFails(false); }
  void TearDown() override { SetFakeResizeFails(false); }
};

TEST_F(HostText, ReadsUpTo254BytesOrTheFirstNul) {
  char buffer[PARAMETER_BUFFER_SIZE + 8];
  std::memset(buffer, 'z', sizeof buffer);
  FakeHandle longest(std::string(254, 'p'));
  ASSERT_TRUE(ReadParameterText(kHost, longest.Handle(), buffer));
  EXPECT_EQ(std::string(buffer), std::string(254, 'p'));

  FakeHandle withNul(std::string("ab\0cd", 5));
  ASSERT_TRUE(ReadParameterText(kHost, withNul.Handle(), buffer));
  EXPECT_STREQ(buffer, "ab");

  FakeHandle empty("");
  ASSERT_TRUE(ReadParameterText(kHost, empty.Handle(), buffer));
  EXPECT_STREQ(buffer, "");
}

TEST_F(HostText, RefusesLongOrNegativeSizesWithoutTouchingTheBuffer) {
  char buffer[PARAMETER_BUFFER_SIZE] = "keep";
  FakeHandle h(std::string(255, 'p'));
  EXPECT_FALSE(ReadParameterText(kHost, h.Handle(), buffer));
  EXPECT_STREQ(buffer, "keep");
  h.size = -1;
  EXPECT_FALSE(ReadParameterText(kHost, h.Handle(), buffer));
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

TEST_F(HostText, BadLengthReplacesAnEarlierReply) {
  for (int32_t size : {0, 255, 4096, -3}) {
    FakeHandle parameter(std::string(size > 0 ? size : 0, 'x'));
    parameter.size = size;
    FakeHandle result("");
    WriteReply(kHost, result.Handle(), "0");
    ReplyIfBadLength(kHost, parameter.Handle(), result.Handle());
    EXPECT_EQ(result.Content(), "$$001$$") << size;
    parameter.size = size > 0 ? size : 0;
  }
  for (int32_t size : {1, 254}) {
    FakeHandle parameter(std::string(size, 'x'));
    FakeHandle result("");
    WriteReply(kHost, result.Handle(), "0");
    ReplyIfBadLength(kHost, parameter.Handle(), result.Handle());
    EXPECT_EQ(result.Content(), "0") << size;
  }
}

}  // namespace
