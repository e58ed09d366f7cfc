// Reading parameters and writing replies through host callbacks.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "portable/text/HostText.h"

namespace {

// A host handle as the host makes it: a master pointer and a size.
struct TestHandle {
  unsigned char* bytes;
  int32_t size;
};

bool g_failResize;
int16_t g_lastStatus;
int g_resizes;

FMHandle AsHandle(TestHandle& h) { return &h.bytes; }

void FM_STDCALL Resize(FMHandle handle, int32_t size) {
  ++g_resizes;
  if (g_failResize) {
    g_lastStatus = 1;
    return;
  }
  TestHandle* h = reinterpret_cast<TestHandle*>(handle);
  // Always move the bytes, so a stale master pointer would show.
  unsigned char* moved = static_cast<unsigned char*>(std::malloc(size > 0 ? size : 1));
  std::memset(moved, 0xEE, size > 0 ? size : 1);
  std::free(h->bytes);
  h->bytes = moved;
  h->size = size;
  g_lastStatus = 0;
}

int32_t FM_STDCALL Size(FMHandle handle) { return reinterpret_cast<TestHandle*>(handle)->size; }
int16_t FM_STDCALL Status() { return g_lastStatus; }

const HostCallbacks kHost = {Resize, Size, Status};

TestHandle Make(const std::string& bytes) {
  TestHandle h;
  h.bytes = static_cast<unsigned char*>(std::malloc(bytes.size() + 1));
  std::memcpy(h.bytes, bytes.data(), bytes.size());
  h.size = static_cast<int32_t>(bytes.size());
  return h;
}

std::string Contents(const TestHandle& h) { return std::string(reinterpret_cast<char*>(h.bytes), h.size); }

class HostText : public ::testing::Test {
 protected:
  void SetUp() override {
    g_failResize = false;
    g_lastStatus = 0;
    g_resizes = 0;
  }
};

TEST_F(HostText, ReadsUpTo254BytesOrTheFirstNul) {
  char buffer[PARAMETER_BUFFER_SIZE + 8];
  std::memset(buffer, 'z', sizeof buffer);
  TestHandle h = Make(std::string(254, 'p'));
  ASSERT_TRUE(ReadParameterText(kHost, AsHandle(h), buffer));
  EXPECT_EQ(std::string(buffer), std::string(254, 'p'));
  std::free(h.bytes);

  h = Make(std::string("ab\0cd", 5));
  ASSERT_TRUE(ReadParameterText(kHost, AsHandle(h), buffer));
  EXPECT_STREQ(buffer, "ab");
  std::free(h.bytes);

  h = Make("");
  ASSERT_TRUE(ReadParameterText(kHost, AsHandle(h), buffer));
  EXPECT_STREQ(buffer, "");
  std::free(h.bytes);
}

TEST_F(HostText, RefusesLongOrNegativeSizesWithoutTouchingTheBuffer) {
  char buffer[PARAMETER_BUFFER_SIZE] = "keep";
  TestHandle h = Make(std::string(255, 'p'));
  EXPECT_FALSE(ReadParameterText(kHost, AsHandle(h), buffer));
  EXPECT_STREQ(buffer, "keep");
  h.size = -1;
  EXPECT_FALSE(ReadParameterText(kHost, AsHandle(h), buffer));
  EXPECT_STREQ(buffer, "keep");
  std::free(h.bytes);
}

TEST_F(HostText, ReplyIsExactlyItsBytes) {
  TestHandle result = Make("previous reply");
  WriteReply(kHost, AsHandle(result), "Lullex v1.91");
  EXPECT_EQ(result.size, 12);
  EXPECT_EQ(Contents(result), "Lullex v1.91");
  WriteReply(kHost, AsHandle(result), "0");
  EXPECT_EQ(Contents(result), "0");
  std::free(result.bytes);
}

TEST_F(HostText, FailedResizeWritesNothing) {
  TestHandle result = Make("host");
  g_failResize = true;
  WriteReply(kHost, AsHandle(result), "$$001$$");
  EXPECT_EQ(g_resizes, 1);
  EXPECT_EQ(Contents(result), "host");
  std::free(result.bytes);
}

TEST_F(HostText, BadLengthReplacesAnEarlierReply) {
  for (int32_t size : {0, 255, 4096, -3}) {
    TestHandle parameter = Make(std::string(size > 0 ? size : 0, 'x'));
    parameter.size = size;
    TestHandle result = Make("");
    WriteReply(kHost, AsHandle(result), "0");
    ReplyIfBadLength(kHost, AsHandle(parameter), AsHandle(result));
    EXPECT_EQ(Contents(result), "$$001$$") << size;
    std::free(parameter.bytes);
    std::free(result.bytes);
  }
  for (int32_t size : {1, 254}) {
    TestHandle parameter = Make(std::string(size, 'x'));
    TestHandle result = Make("");
    WriteReply(kHost, AsHandle(result), "0");
    ReplyIfBadLength(kHost, AsHandle(parameter), AsHandle(result));
    EXPECT_EQ(Contents(result), "0") << size;
    std::free(parameter.bytes);
    std::free(result.bytes);
  }
}

}  // namespace
