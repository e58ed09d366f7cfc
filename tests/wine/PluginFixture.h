// A fresh plug-in state and a stand-in host main window for each test.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "BadInput.h"
#include "WinTestSupport.h"
#include "plugin/PluginState.h"
#include "win32/guard/TimerDialog.h"

// The guard's state, as the tests read and set it.
inline GuardState& State() { return Guard().state; }

// Whether the settings are the expected ones, naming each that differs.
inline ::testing::AssertionResult SettingsAre(const ExpectedSettings& e) {
  const Settings& s = State().settings;
  std::string wrong;
  if (std::string(s.password) != e.password) wrong += " password \"" + std::string(s.password) + "\"";
  if (s.recordLimitSeconds != e.recordLimit) wrong += " record=" + std::to_string(s.recordLimitSeconds);
  if (s.fileMakerLimitSeconds != e.fileMakerLimit) wrong += " filemaker=" + std::to_string(s.fileMakerLimitSeconds);
  if (s.countInBackground != (e.canBackground != 0)) wrong += " background=" + std::to_string(s.countInBackground);
  if (s.commitOnLeaving != (e.immediate != 0)) wrong += " immediate=" + std::to_string(s.commitOnLeaving);
  if (s.lockWarningSeconds != e.lockWarning) wrong += " warning=" + std::to_string(s.lockWarningSeconds);
  if (wrong.empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "settings differ:" << wrong;
}

// The commit under way typed its last key: each waits for the one before.
inline void PumpUntilCommitOver() {
  EXPECT_TRUE(PumpUntil([] { return State().commit.stage == CommitStage::None; }, 3000)) << "the commit never ended";
}

class PluginTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(TheFakeHost().Create());
    InitPluginCall();
    SetHostResizeFails(false);
  }
  void TearDown() override {
    DestroyTimerDialog(Guard());
    InitPluginCall();
    TheFakeHost().Destroy();
  }
  HWND Host() { return TheFakeHost().main; }
};
