// Every function with hostile parameters, through the plug-in's own code: the
// replies and the settings must be what the rules say, and nothing may crash.
#include <cstdio>

#include "BadInput.h"
#include "PluginFixture.h"
#include "plugin/Functions.h"

namespace {

using BadInput = PluginTest;

TEST_F(BadInput, RepliesAndSettingsFollowTheRules) {
  ExpectedSettings expected;
  int cases = 0;
  for (const std::string& parameter : BadParameters()) {
    for (unsigned function : TRIED_FUNCTIONS) {
      std::string reply = ExpectedCall(function, parameter, expected);
      CallResult r = CallFunction(function, parameter);
      ASSERT_TRUE(ReplyAsExpected(r.replied ? r.reply : std::string(NO_REPLY), reply, expected))
          << r.reply << " for " << reply << ": function " << function << ", parameter of " << parameter.size()
          << " bytes";
      ASSERT_TRUE(SettingsAre(expected)) << "function " << function << ", parameter of " << parameter.size()
                                         << " bytes";
      ++cases;
    }
  }
  std::printf("bad input: %d calls tried, every reply and setting as expected\n", cases);
  EXPECT_GT(cases, 1500);
}

}  // namespace
