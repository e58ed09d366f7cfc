// The events the solution's script hears: what waits, in which order, and the
// JSON each one is handed over as.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "portable/engine/ScriptEvents.h"

namespace {

std::string Json(const ScriptEvent& event) {
  char text[SCRIPT_EVENT_TEXT_SIZE];
  FormatScriptEvent(event, text, sizeof text);
  return text;
}

std::vector<uint32_t> TakeAll(EventScript& script) {
  std::vector<uint32_t> taken;
  ScriptEvent event;
  while (TakeScriptEvent(script, event)) taken.push_back(event.seconds);
  return taken;
}

ScriptEvent Unlock(uint32_t seconds) { return {ScriptEventKind::Unlock, LockCause::IdleLimit, seconds, 0}; }

TEST(ScriptEvents, EachEventAsOneJsonObjectWithoutSpaces) {
  EXPECT_EQ(Json({ScriptEventKind::CommitAtRecordLimit, LockCause::IdleLimit, 0, 0}),
            "{\"event\":\"commit\",\"reason\":\"idle\"}");
  EXPECT_EQ(Json({ScriptEventKind::CommitOnLeaving, LockCause::IdleLimit, 0, 0}),
            "{\"event\":\"commit\",\"reason\":\"leaving\"}");
  EXPECT_EQ(Json({ScriptEventKind::Unlock, LockCause::LockNow, 2400, 2}),
            "{\"event\":\"unlock\",\"seconds\":2400,\"wrongPasswords\":2,\"cause\":\"locknow\"}");
  std::string longest = Json({ScriptEventKind::Unlock, LockCause::IdleLimit, 4294967295u, 4294967295u});
  EXPECT_EQ(longest, "{\"event\":\"unlock\",\"seconds\":4294967295,\"wrongPasswords\":4294967295,\"cause\":\"idle\"}");
  EXPECT_LT(longest.size(), SCRIPT_EVENT_TEXT_SIZE);
}

TEST(ScriptEvents, WaitInOrderOnlyWhileAScriptIsSetAndTheOldestGoFirstWhenFull) {
  static EventScript script;
  std::memset(&script, 0, sizeof script);
  QueueScriptEvent(script, Unlock(1));
  EXPECT_TRUE(TakeAll(script).empty()) << "no script: nothing waits";

  SetEventScript(script, "Contacts", "Audit");
  for (uint32_t i = 1; i <= 3; ++i) QueueScriptEvent(script, Unlock(i));
  EXPECT_EQ(TakeAll(script), (std::vector<uint32_t>{1, 2, 3}));

  for (uint32_t i = 1; i <= SCRIPT_EVENT_QUEUE_SIZE + 2; ++i) QueueScriptEvent(script, Unlock(i));
  std::vector<uint32_t> kept = TakeAll(script);
  ASSERT_EQ(kept.size(), static_cast<size_t>(SCRIPT_EVENT_QUEUE_SIZE));
  EXPECT_EQ(kept.front(), 3u) << "the two oldest went";
  EXPECT_EQ(kept.back(), static_cast<uint32_t>(SCRIPT_EVENT_QUEUE_SIZE + 2));

  QueueScriptEvent(script, Unlock(1));
  SetEventScript(script, "Contacts", "");
  QueueScriptEvent(script, Unlock(2));
  EXPECT_TRUE(TakeAll(script).empty()) << "switched off: what waited is dropped, nothing new waits";
  EXPECT_STREQ(script.scriptName, "");
}

}  // namespace
