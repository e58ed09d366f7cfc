// A fresh plug-in state and a stand-in host main window for each test.
#pragma once

#include <gtest/gtest.h>

#include "WinTestSupport.h"
#include "plugin/PluginState.h"
#include "win32/TimerDialog.h"

// The guard's state, as the tests read and set it.
inline GuardState& State() { return Guard().state; }

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
