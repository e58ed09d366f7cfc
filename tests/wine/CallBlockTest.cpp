// The host call block contract, called the way the host calls it.
#include <algorithm>
#include <cstring>

#include "PluginFixture.h"
#include "plugin/Functions.h"
#include "plugin/classic/ClassicCallBlock.h"

namespace {

using CallBlock = PluginTest;

void SetEveryState() {
  State().settings.recordLimitSeconds = 7;
  State().recordIdle.ticks = 3;
  State().settings.fileMakerLimitSeconds = 9;
  State().fileMakerIdle.ticks = 5;
  State().settings.commitOnLeaving = 1;
  State().settings.countInBackground = 1;
  State().recordCommitted = 1;
}

TEST_F(CallBlock, InitAnswersFourWhateverTheVersion) {
  for (int16_t version : {0, 11, -1, 0x7FFF}) {
    FMExternCallStruct block;
    std::memset(&block, 0xAB, sizeof block);
    block.interfaceVersion = version;
    block.callKind = CALL_KIND_INIT;
    FMExternCallProc(&block);
    EXPECT_EQ(block.result.initReply, 4);
    EXPECT_EQ(CurrentCall(), &block);
  }
}

TEST_F(CallBlock, OtherCallKindsChangeNothing) {
  SetEveryState();
  for (int kind = 1; kind < 256; ++kind) {
    if (kind == CALL_KIND_EXTERNAL) continue;
    unsigned char bytes[sizeof(FMExternCallStruct)];
    for (size_t i = 0; i < sizeof bytes; ++i) bytes[i] = static_cast<unsigned char>(i * 7 + 1);
    FMExternCallStruct* block = reinterpret_cast<FMExternCallStruct*>(bytes);
    block->callKind = static_cast<uint8_t>(kind);
    unsigned char before[sizeof bytes];
    std::memcpy(before, bytes, sizeof bytes);
    FMExternCallProc(block);
    EXPECT_EQ(std::memcmp(before, bytes, sizeof bytes), 0) << "kind " << kind;
    EXPECT_EQ(CurrentCall(), block);
  }
  EXPECT_EQ(State().settings.recordLimitSeconds, 7);
  EXPECT_EQ(State().recordIdle.ticks, 3);
  EXPECT_EQ(State().settings.fileMakerLimitSeconds, 9);
  EXPECT_EQ(State().fileMakerIdle.ticks, 5);
  EXPECT_EQ(State().settings.commitOnLeaving, 1);
  EXPECT_EQ(State().settings.countInBackground, 1);
  EXPECT_EQ(State().recordCommitted, 1);
}

TEST_F(CallBlock, UnknownFunctionNumbersAreIgnored) {
  SetEveryState();
  for (unsigned number : {0u, 10u, 100u, 4294967295u}) {
    CallResult r = CallFunction(number, "1");
    EXPECT_FALSE(r.replied) << number;
  }
  EXPECT_EQ(State().settings.recordLimitSeconds, 7);
  EXPECT_EQ(State().settings.fileMakerLimitSeconds, 9);
  EXPECT_EQ(State().settings.countInBackground, 1);
  EXPECT_EQ(Guard().timerDialog, nullptr);
}

TEST_F(CallBlock, RepliesOfEveryFunction) {
  EXPECT_EQ(CallFunction(FN_VERSION, "").reply, "Lullex v1.91");
  EXPECT_EQ(CallFunction(FN_VERSION, std::string(4096, 'x')).reply, "Lullex v1.91");
  EXPECT_EQ(CallFunction(FN_SET_WORKSTATION_PASSWORD, "pw").reply, "0");
  EXPECT_EQ(CallFunction(FN_ACTIVATE_RECORD, "30").reply, "0");
  EXPECT_EQ(CallFunction(FN_ACTIVATE_FILEMAKER, "60").reply, "0");
  EXPECT_FALSE(CallFunction(FN_CAN_BACKGROUND, "1").replied);
  EXPECT_FALSE(CallFunction(FN_RECORD_IMMEDIATELY, "1").replied);
  EXPECT_FALSE(CallFunction(FN_ACTIVATE_RECORD, "0").replied);
  EXPECT_FALSE(CallFunction(FN_ACTIVATE_FILEMAKER, "0").replied);
}

TEST_F(CallBlock, BadLengthsAnswerTheErrorText) {
  std::string tooLong(255, '5');
  for (unsigned number = 1; number <= 5; ++number) {
    EXPECT_EQ(CallFunction(number, tooLong).reply, "$$001$$") << number;
    EXPECT_EQ(CallFunction(number, std::string(1048576, '1')).reply, "$$001$$") << number;
  }
  EXPECT_EQ(CallFunction(FN_SET_WORKSTATION_PASSWORD, "").reply, "$$001$$");
  EXPECT_EQ(CallFunction(FN_CAN_BACKGROUND, "").reply, "$$001$$");
  EXPECT_EQ(CallFunction(FN_RECORD_IMMEDIATELY, "").reply, "$$001$$");
  EXPECT_FALSE(CallFunction(FN_ACTIVATE_RECORD, "").replied);
  EXPECT_FALSE(CallFunction(FN_ACTIVATE_FILEMAKER, "").replied);
}

TEST_F(CallBlock, TooLongParametersChangeNoSetting) {
  CallFunction(FN_SET_WORKSTATION_PASSWORD, "kept");
  CallFunction(FN_ACTIVATE_RECORD, "30");
  CallFunction(FN_ACTIVATE_FILEMAKER, "60");
  CallFunction(FN_CAN_BACKGROUND, "1");
  CallFunction(FN_RECORD_IMMEDIATELY, "1");
  State().recordIdle.ticks = 11;
  State().fileMakerIdle.ticks = 12;
  std::string zeros(255, '0');
  for (unsigned number = 1; number <= 5; ++number) CallFunction(number, zeros);
  ExpectedSettings expected;
  expected.password = "kept";
  expected.recordLimit = 30;
  expected.fileMakerLimit = 60;
  expected.canBackground = expected.immediate = 1;
  EXPECT_TRUE(SettingsAre(expected));
  EXPECT_EQ(State().recordIdle.ticks, 11);
  EXPECT_EQ(State().fileMakerIdle.ticks, 12);
}

TEST_F(CallBlock, ParameterEndsAtAnEmbeddedNul) {
  EXPECT_EQ(CallFunction(FN_SET_WORKSTATION_PASSWORD, std::string("ab\0cd", 5)).reply, "0");
  EXPECT_STREQ(State().settings.password, "ab");
  EXPECT_EQ(CallFunction(FN_ACTIVATE_RECORD, std::string("4\0"
                                                         "0",
                                                         3))
                .reply,
            "0");
  EXPECT_EQ(State().settings.recordLimitSeconds, 4);
  std::string exact(254, 'p');
  EXPECT_EQ(CallFunction(FN_SET_WORKSTATION_PASSWORD, exact).reply, "0");
  EXPECT_EQ(std::string(State().settings.password), exact);
}

TEST_F(CallBlock, FailedResizeWritesNothingButTheSettingIsTaken) {
  SetHostResizeFails(true);
  EXPECT_FALSE(CallFunction(FN_VERSION, "").replied);
  EXPECT_FALSE(CallFunction(FN_ACTIVATE_RECORD, "5").replied);
  EXPECT_EQ(State().settings.recordLimitSeconds, 5);
  EXPECT_FALSE(CallFunction(FN_CAN_BACKGROUND, std::string(300, '1')).replied);
}

TEST_F(CallBlock, SecondInitClearsLimitsAndSwitchesButKeepsThePassword) {
  CallFunction(FN_SET_WORKSTATION_PASSWORD, "secret");
  CallFunction(FN_ACTIVATE_RECORD, "30");
  CallFunction(FN_ACTIVATE_FILEMAKER, "60");
  CallFunction(FN_CAN_BACKGROUND, "1");
  CallFunction(FN_RECORD_IMMEDIATELY, "1");
  State().recordIdle.ticks = 4;
  State().fileMakerIdle.ticks = 8;
  State().recordCommitted = 1;
  HWND oldDialog = Guard().timerDialog;
  ASSERT_NE(oldDialog, nullptr);
  InitPluginCall();
  ExpectedSettings afresh;
  afresh.password = "secret";  // kept; everything else off
  EXPECT_TRUE(SettingsAre(afresh));
  EXPECT_EQ(State().recordIdle.ticks, 0);
  EXPECT_EQ(State().fileMakerIdle.ticks, 0);
  EXPECT_EQ(State().recordCommitted, 0);
  EXPECT_EQ(Guard().timerDialog, nullptr);
  EXPECT_FALSE(IsWindow(oldDialog)) << "the old dialog is destroyed, not left counting";
}

TEST_F(CallBlock, ShutdownLeavesNoWindowOrTimerBehindWipesThePasswordAndInitStartsAfresh) {
  CallFunction(FN_SET_WORKSTATION_PASSWORD, std::string(254, 'p'));
  CallFunction(FN_ACTIVATE_RECORD, "1");
  CallFunction(FN_ACTIVATE_FILEMAKER, "1");
  CallFunction(FN_RECORD_IMMEDIATELY, "1");
  HWND dialog = Guard().timerDialog;
  ASSERT_TRUE(IsWindow(dialog));
  FMExternCallStruct block;
  std::memset(&block, 0, sizeof block);
  block.callKind = CALL_KIND_SHUTDOWN;
  FMExternCallProc(&block);
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_EQ(Guard().timerDialog, nullptr);
  const char* password = State().settings.password;
  EXPECT_EQ(std::count(password, password + PASSWORD_SIZE, '\0'), PASSWORD_SIZE) << "every byte wiped";
  // Whatever was queued for the dialog before is now dropped by Windows.
  PumpFor(400);

  InitPluginCall();
  EXPECT_EQ(State().settings.recordLimitSeconds, 0);
  EXPECT_EQ(CallFunction(FN_ACTIVATE_RECORD, "2").reply, "0");
  ASSERT_NE(Guard().timerDialog, nullptr);
  EXPECT_TRUE(IsWindow(Guard().timerDialog)) << "a new one";
  EXPECT_TRUE(TimerRunning(Guard().timerDialog, 1113, 250));
}

}  // namespace
