// How Lullex.fmx tells FileMaker Pro 5 and 6 from FileMaker 7 and later, call
// by call, over a plug-in's life: load, init, calls, shutdown, init again.
#include <gtest/gtest.h>

#include "portable/host/HostInterface.h"

namespace {

const uint8_t EXTERNAL = 3;  // a function call of FileMaker Pro 5 and 6
const HostInterface CLASSIC = HostInterface::Classic, MODERN = HostInterface::Modern;

TEST(HostInterface, TheFirstInitChoosesByItsVersionWordAloneFromFifty) {
  for (int16_t version : {-32768, -1, 0, 11, 14, 17, 49}) {
    InterfaceChoice choice = {};
    EXPECT_EQ(RouteCall(choice, CALL_INIT, version), CLASSIC) << version;
  }
  for (int16_t version : {50, 55, 60, 77, 32767}) {
    InterfaceChoice choice = {};
    EXPECT_EQ(RouteCall(choice, CALL_INIT, version), MODERN) << version;
  }
}

TEST(HostInterface, BeforeAnyInitOnlyAStringRequestIsModern) {
  InterfaceChoice choice = {};
  EXPECT_EQ(RouteCall(choice, CALL_GET_STRING, 0), MODERN);
  EXPECT_EQ(RouteCall(choice, CALL_GET_STRING, 60), MODERN);
  for (uint8_t kind : {CALL_IDLE, EXTERNAL, CALL_SHUTDOWN, uint8_t(5), uint8_t(200)})
    EXPECT_EQ(RouteCall(choice, kind, 60), CLASSIC) << int(kind);
  EXPECT_EQ(RouteCall(choice, CALL_INIT, 60), MODERN) << "a shutdown before any init decides nothing";
}

TEST(HostInterface, TheChoiceHoldsUntilTheShutdownAndTheNextInitChoosesAgain) {
  InterfaceChoice choice = {};
  ASSERT_EQ(RouteCall(choice, CALL_INIT, 17), CLASSIC);
  // A second init, whatever its word, and every other kind stay classic; a
  // string request too, which the classic interface ignores.
  for (uint8_t kind : {CALL_INIT, CALL_GET_STRING, CALL_IDLE, EXTERNAL})
    EXPECT_EQ(RouteCall(choice, kind, 60), CLASSIC) << int(kind);
  EXPECT_EQ(RouteCall(choice, CALL_SHUTDOWN, 60), CLASSIC);
  EXPECT_EQ(RouteCall(choice, CALL_GET_STRING, 60), CLASSIC) << "after the shutdown, still ignored";

  ASSERT_EQ(RouteCall(choice, CALL_INIT, 60), MODERN);
  // The modern init checks the word itself: an init below 50 now reaches it.
  for (uint8_t kind : {CALL_INIT, EXTERNAL, CALL_IDLE, CALL_GET_STRING})
    EXPECT_EQ(RouteCall(choice, kind, 17), MODERN) << int(kind);
  EXPECT_EQ(RouteCall(choice, CALL_SHUTDOWN, 17), MODERN);
  EXPECT_EQ(RouteCall(choice, CALL_GET_STRING, 0), MODERN) << "a modern host asks again before its init";
  EXPECT_EQ(RouteCall(choice, CALL_INIT, 14), CLASSIC);
}

}  // namespace
