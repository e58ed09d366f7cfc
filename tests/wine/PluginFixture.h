// A fresh plug-in state and a stand-in host main window for each test.
#pragma once

#include <gtest/gtest.h>

#include "WinTestSupport.h"
#include "idle/IdleState.h"

class PluginTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(TheFakeHost().Create());
    InitPluginCall();
    SetHostResizeFails(false);
  }
  void TearDown() override {
    if (HiddenDialog) DestroyWindow(HiddenDialog);
    InitPluginCall();
    TheFakeHost().Destroy();
  }
  HWND Host() { return TheFakeHost().main; }
};
