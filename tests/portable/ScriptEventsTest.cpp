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

ScriptEvent Unlock(uint32_t seconds) {
  return {ScriptEventKind::Unlock, LockCause::IdleLimit, seconds, 0, false, "", false, CommitTook::Unknown};
}

TEST(ScriptEvents, EachEventAsOneJsonObjectWithoutSpaces) {
  EXPECT_EQ(Json(CommitEvent(ScriptEventKind::CommitAtRecordLimit, true)),
            "{\"event\":\"commit\",\"reason\":\"idle\",\"typed\":true}");
  EXPECT_EQ(Json(CommitEvent(ScriptEventKind::CommitOnLeaving, true)),
            "{\"event\":\"commit\",\"reason\":\"leaving\",\"typed\":true}");
  EXPECT_EQ(Json(CommitEvent(ScriptEventKind::CommitAtRecordLimit, false)),
            "{\"event\":\"commit\",\"reason\":\"idle\",\"typed\":false}");
  EXPECT_EQ(Json(CommitEvent(ScriptEventKind::CommitWindowsLocked, false)),
            "{\"event\":\"commit\",\"reason\":\"windowslocked\",\"typed\":false}");
  EXPECT_EQ(Json(CommitEvent(ScriptEventKind::CommitBeforeLock, false, LockCause::LockNow)),
            "{\"event\":\"commit\",\"reason\":\"locknow\",\"typed\":false}");
  EXPECT_EQ(Json(CommitEvent(ScriptEventKind::CommitBeforeLock, false, LockCause::IdleLimit)),
            "{\"event\":\"commit\",\"reason\":\"idle\",\"typed\":false}");
  ScriptEvent told = CommitEvent(ScriptEventKind::CommitBeforeLock, true);
  told.took = CommitTook::No;
  EXPECT_EQ(Json(told), "{\"event\":\"commit\",\"reason\":\"idle\",\"typed\":true,\"committed\":false}");
  told.took = CommitTook::Yes;
  EXPECT_EQ(Json(told), "{\"event\":\"commit\",\"reason\":\"idle\",\"typed\":true,\"committed\":true}");
  EXPECT_EQ(Json({ScriptEventKind::Unlock, LockCause::LockNow, 2400, 2, false, "", false, CommitTook::Unknown}),
            "{\"event\":\"unlock\",\"seconds\":2400,\"wrongPasswords\":2,\"cause\":\"locknow\"}");
  EXPECT_EQ(Json({ScriptEventKind::Unlock, LockCause::WindowsLocked, 7, 0, false, "", false, CommitTook::Unknown}),
            "{\"event\":\"unlock\",\"seconds\":7,\"wrongPasswords\":0,\"cause\":\"windowslocked\"}");
  std::string longest = Json(
      {ScriptEventKind::Unlock, LockCause::IdleLimit, 4294967295u, 4294967295u, false, "", false, CommitTook::Unknown});
  EXPECT_EQ(longest, "{\"event\":\"unlock\",\"seconds\":4294967295,\"wrongPasswords\":4294967295,\"cause\":\"idle\"}");
  EXPECT_LT(longest.size(), SCRIPT_EVENT_TEXT_SIZE);
}

// The value of the string member `name` of a JSON object, unescaped; fails on
// anything that is not a well-formed string right there, or text after the
// object's end.
::testing::AssertionResult JsonStringMember(const std::string& json, const std::string& name, std::string& value) {
  size_t at = json.find("\"" + name + "\":\"");
  if (at == std::string::npos) return ::testing::AssertionFailure() << "no " << name << " in " << json;
  value.clear();
  for (at += name.size() + 4; at < json.size() && json[at] != '"'; ++at) {
    if (json[at] != '\\') {
      if (static_cast<unsigned char>(json[at]) < 0x20)
        return ::testing::AssertionFailure() << "a raw control character";
      value += json[at];
    } else if (++at < json.size() && std::strchr("\"\\/", json[at])) {
      value += json[at];
    } else if (at + 4 < json.size() && json[at] == 'u') {
      value += static_cast<char>(std::stoi(json.substr(at + 1, 4), nullptr, 16));
      at += 4;
    } else {
      return ::testing::AssertionFailure() << "a bad escape in " << json;
    }
  }
  if (json.substr(at) != "\"}") return ::testing::AssertionFailure() << "not the last member: " << json;
  return ::testing::AssertionSuccess();
}

TEST(ScriptEvents, AnUnlockAtASharedDeskNamesWhoLastAndAsValidJson) {
  ScriptEvent event = {ScriptEventKind::Unlock, LockCause::IdleLimit, 5, 1, false, "", false, CommitTook::Unknown};
  std::string plain = Json(event);
  EXPECT_EQ(plain.find("user"), std::string::npos) << "nobody named without people";
  event.namesUser = true;
  std::string value;
  ASSERT_TRUE(JsonStringMember(Json(event), "user", value)) << "the workstation's password";
  EXPECT_EQ(value, "");
  const std::string names[] = {
      "Dr. \"Bob\" O'Neil", "C:\\Users\\",        "\"}",
      "x\"}{\"user\":\"y",  std::string(64, '"'), std::string(16, ' ') + "\xE5\x90\x8D\xE5\x89\x8D"};
  for (const std::string& name : names) {
    std::strcpy(event.user, name.c_str());
    std::string json = Json(event);
    ASSERT_TRUE(JsonStringMember(json, "user", value)) << name;
    EXPECT_EQ(value, name);
    EXPECT_EQ(json.rfind(plain.substr(0, plain.size() - 1), 0), 0u) << "the rest as before: " << json;
  }
  std::string longest(64 * 4, '\0');
  for (int i = 0; i < 64; ++i) longest.replace(4 * i, 4, "\xF0\x9F\x98\x80");
  std::strcpy(event.user, longest.c_str());
  event.seconds = event.wrongPasswords = 4294967295u;
  ASSERT_TRUE(JsonStringMember(Json(event), "user", value)) << "64 characters of four bytes fit whole";
  EXPECT_EQ(value, longest);
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
