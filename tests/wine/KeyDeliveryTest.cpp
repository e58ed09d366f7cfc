// SendKeys through the real port: the messages a focused window receives, with
// the Control and Shift state that GetKeyState shows at each one.
#include <gtest/gtest.h>

#include <string>

#include "WinTestSupport.h"
#include "portable/keys/SendKeys.h"
#include "win32/commit/WindowActivation.h"

namespace {

std::string g_log;

LRESULT CALLBACK KeyLogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_KEYDOWN || msg == WM_KEYUP) {
    char entry[16];
    wsprintfA(entry, "%s%02X%s%s", msg == WM_KEYDOWN ? "D" : "U", static_cast<unsigned>(wp),
              GetKeyState(VK_CONTROL) < 0 ? "c" : "", GetKeyState(VK_SHIFT) < 0 ? "s" : "");
    if (!g_log.empty()) g_log += ' ';
    g_log += entry;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

class KeyDelivery : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = TopWindow("KeyLog", "Key log", true, KeyLogProc);
    ASSERT_TRUE(InFront(window_));
    // Wine takes the new foreground thread's key state in a little after the
    // switch, with nothing to wait on: what GetKeyState says until then is stale.
    PumpFor(100);
    ASSERT_EQ(GetFocus(), window_);
    g_log.clear();
  }
  void TearDown() override { DestroyWindow(window_); }

  std::string Deliver(const char* text, int wait = 0) {
    g_log.clear();
    EXPECT_EQ(SendKeys(text, wait), 1);
    PumpUntilKeysDelivered();
    return g_log;
  }
  HWND window_ = nullptr;
};

TEST_F(KeyDelivery, ControlEnterTwiceArrivesAsControlEnter) {
  EXPECT_EQ(Deliver("^{ENTER}^{ENTER}"), "D11c D0Dc U0Dc U11 D11c D0Dc U0Dc U11");
  EXPECT_GE(GetKeyState(VK_CONTROL), 0) << "Control is up afterwards";
}

TEST_F(KeyDelivery, ShiftPrefixAndParentheses) {
  EXPECT_EQ(Deliver("+abc"), "D10s D41s U41s U10 D42 U42 D43 U43");
  EXPECT_EQ(Deliver("+(abc)"), "D10s D41s U41s D42s U42s D43s U43s U10");
}

TEST_F(KeyDelivery, CountsAndWholeKeyCodes) {
  EXPECT_EQ(Deliver("{TAB 3}"), "D09 U09 D09 U09 D09 U09");
  EXPECT_EQ(Deliver("{VKEY 321}"), "D10s D41s U41s U10");
}

TEST_F(KeyDelivery, WaitDispatchesInsideTheCall) {
  g_log.clear();
  EXPECT_EQ(SendKeys("^a", 1), 1);
  EXPECT_EQ(g_log, "D11c D41c U41c U11") << "all four dispatched before SendKeys returned";
}

}  // namespace
