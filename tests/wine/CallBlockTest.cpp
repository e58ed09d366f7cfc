// The host call block contract, called the way the host calls it.
#include <cstring>

#include "PluginFixture.h"
#include "plugin/Functions.h"
#include "plugin/HostCall.h"

namespace {

using CallBlock = PluginTest;

void SetEveryState() {
  thetick = 7;
  numberseconds = 3;
  theapptick = 9;
  appnumberseconds = 5;
  TMImmediateSW = 1;
  kcanbackground = 1;
  Booted = 1;
}

TEST_F(CallBlock, InitAnswersFourWhateverTheVersion) {
  for (int16_t version : {0, 11, -1, 0x7FFF}) {
    FMExternCallStruct block;
    std::memset(&block, 0xAB, sizeof block);
    block.interfaceVersion = version;
    block.callKind = CALL_KIND_INIT;
    FMExternCallProc(&block);
    EXPECT_EQ(block.result.initReply, 4);
    EXPECT_EQ(gFMExternCallPtr, &block);
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
    EXPECT_EQ(gFMExternCallPtr, block);
  }
  EXPECT_EQ(thetick, 7);
  EXPECT_EQ(numberseconds, 3);
  EXPECT_EQ(theapptick, 9);
  EXPECT_EQ(appnumberseconds, 5);
  EXPECT_EQ(TMImmediateSW, 1);
  EXPECT_EQ(kcanbackground, 1);
  EXPECT_EQ(Booted, 1);
}

TEST_F(CallBlock, UnknownFunctionNumbersAreIgnored) {
  SetEveryState();
  for (unsigned number : {0u, 7u, 100u, 4294967295u}) {
    CallResult r = CallFunction(number, "1");
    EXPECT_FALSE(r.replied) << number;
  }
  EXPECT_EQ(thetick, 7);
  EXPECT_EQ(theapptick, 9);
  EXPECT_EQ(kcanbackground, 1);
  EXPECT_EQ(HiddenDialog, nullptr);
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
  numberseconds = 11;
  appnumberseconds = 12;
  std::string zeros(255, '0');
  for (unsigned number = 1; number <= 5; ++number) CallFunction(number, zeros);
  EXPECT_STREQ(MasterPass, "kept");
  EXPECT_EQ(thetick, 30);
  EXPECT_EQ(theapptick, 60);
  EXPECT_EQ(numberseconds, 11);
  EXPECT_EQ(appnumberseconds, 12);
  EXPECT_EQ(kcanbackground, 1);
  EXPECT_EQ(TMImmediateSW, 1);
}

TEST_F(CallBlock, ParameterEndsAtAnEmbeddedNul) {
  EXPECT_EQ(CallFunction(FN_SET_WORKSTATION_PASSWORD, std::string("ab\0cd", 5)).reply, "0");
  EXPECT_STREQ(MasterPass, "ab");
  EXPECT_EQ(CallFunction(FN_ACTIVATE_RECORD, std::string("4\0" "0", 3)).reply, "0");
  EXPECT_EQ(thetick, 4);
  std::string exact(254, 'p');
  EXPECT_EQ(CallFunction(FN_SET_WORKSTATION_PASSWORD, exact).reply, "0");
  EXPECT_EQ(std::string(MasterPass), exact);
}

TEST_F(CallBlock, FailedResizeWritesNothingButTheSettingIsTaken) {
  SetHostResizeFails(true);
  EXPECT_FALSE(CallFunction(FN_VERSION, "").replied);
  EXPECT_FALSE(CallFunction(FN_ACTIVATE_RECORD, "5").replied);
  EXPECT_EQ(thetick, 5);
  EXPECT_FALSE(CallFunction(FN_CAN_BACKGROUND, std::string(300, '1')).replied);
}

TEST_F(CallBlock, SecondInitClearsLimitsAndSwitchesButKeepsThePassword) {
  CallFunction(FN_SET_WORKSTATION_PASSWORD, "secret");
  CallFunction(FN_ACTIVATE_RECORD, "30");
  CallFunction(FN_ACTIVATE_FILEMAKER, "60");
  CallFunction(FN_CAN_BACKGROUND, "1");
  CallFunction(FN_RECORD_IMMEDIATELY, "1");
  numberseconds = 4;
  appnumberseconds = 8;
  Booted = 1;
  HWND oldDialog = HiddenDialog;
  ASSERT_NE(oldDialog, nullptr);
  InitPluginCall();
  EXPECT_EQ(thetick, 0);
  EXPECT_EQ(theapptick, 0);
  EXPECT_EQ(numberseconds, 0);
  EXPECT_EQ(appnumberseconds, 0);
  EXPECT_EQ(kcanbackground, 0);
  EXPECT_EQ(TMImmediateSW, 0);
  EXPECT_EQ(Booted, 0);
  EXPECT_EQ(HiddenDialog, nullptr);
  EXPECT_STREQ(MasterPass, "secret");
  EXPECT_FALSE(IsWindow(oldDialog)) << "the old dialog is destroyed, not left counting";
}

TEST_F(CallBlock, ShutdownLeavesNoWindowOrTimerBehindAndInitStartsAfresh) {
  CallFunction(FN_ACTIVATE_RECORD, "1");
  CallFunction(FN_ACTIVATE_FILEMAKER, "1");
  CallFunction(FN_RECORD_IMMEDIATELY, "1");
  HWND dialog = HiddenDialog;
  ASSERT_TRUE(IsWindow(dialog));
  FMExternCallStruct block;
  std::memset(&block, 0, sizeof block);
  block.callKind = CALL_KIND_SHUTDOWN;
  FMExternCallProc(&block);
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_EQ(HiddenDialog, nullptr);
  // Whatever was queued for the dialog before is now dropped by Windows.
  PumpFor(400);

  InitPluginCall();
  EXPECT_EQ(thetick, 0);
  EXPECT_EQ(CallFunction(FN_ACTIVATE_RECORD, "2").reply, "0");
  ASSERT_NE(HiddenDialog, nullptr);
  EXPECT_NE(GetWindow(HiddenDialog, GW_OWNER), nullptr) << "owned by the host main window again";
  EXPECT_TRUE(TimerRunning(HiddenDialog, 1113, 250));
}

}  // namespace
