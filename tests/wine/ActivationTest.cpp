// Bringing real windows to the front by handle and by title.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WinTestSupport.h"
#include "portable/keys/SendKeys.h"
#include "win32/commit/WindowActivation.h"

namespace {

std::vector<std::string> g_messages;

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SYSCOMMAND && (wp & 0xFFF0) == SC_HOTKEY)
    g_messages.push_back(reinterpret_cast<HWND>(lp) == hwnd ? "hotkey(self)" : "hotkey(other)");
  return DefWindowProcA(hwnd, msg, wp, lp);
}

class Activation : public ::testing::Test {
 protected:
  void SetUp() override { g_messages.clear(); }
  void TearDown() override {
    for (HWND h : made_) DestroyWindow(h);
  }
  HWND Make(const char* title, bool visible = true, const char* cls = "ActivationTarget") {
    HWND h = TopWindow(cls, title, visible, RecordingProc);
    made_.push_back(h);
    return h;
  }
  bool Above(HWND a, HWND b) {
    for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT)) {
      if (h == a) return true;
      if (h == b) return false;
    }
    return false;
  }
  std::vector<HWND> made_;
};

TEST_F(Activation, NullHandleDoesNothing) {
  HWND before = GetForegroundWindow();
  EXPECT_EQ(BringWindowToFront(nullptr), 0);
  EXPECT_EQ(GetForegroundWindow(), before);
  EXPECT_TRUE(g_messages.empty());
}

TEST_F(Activation, HandleIsShownRaisedActivatedAndFocused) {
  HWND target = Make("Target", false);
  HWND other = Make("Other");
  ASSERT_TRUE(InFront(other));
  g_messages.clear();
  EXPECT_EQ(BringWindowToFront(target), 1);
  PumpUntil([target] { return GetForegroundWindow() == target; }, 3000);
  EXPECT_EQ(g_messages, std::vector<std::string>{"hotkey(self)"});
  EXPECT_TRUE(IsWindowVisible(target));
  EXPECT_TRUE(Above(target, other));
  EXPECT_EQ(GetForegroundWindow(), target);
  EXPECT_EQ(GetActiveWindow(), target);
  EXPECT_EQ(GetFocus(), target);
}

TEST_F(Activation, ExactTitleThenSubstring) {
  HWND notepad = Make("Untitled - Notepad");
  HWND other = Make("Other");
  BringWindowToFront(other);
  EXPECT_EQ(BringTitledWindowToFront("Untitled - Notepad"), 1);
  EXPECT_EQ(GetForegroundWindow(), notepad);
  BringWindowToFront(other);
  EXPECT_EQ(BringTitledWindowToFront("Notepad"), 1);
  EXPECT_EQ(GetForegroundWindow(), notepad);
  BringWindowToFront(other);
  EXPECT_EQ(BringTitledWindowToFront("notepad"), 0) << "the substring test is case-sensitive";
  EXPECT_EQ(GetForegroundWindow(), other);
}

TEST_F(Activation, FirstInEnumerationOrderWins) {
  HWND one = Make("Alpha Report One");
  HWND two = Make("Alpha Report Two");
  SetWindowPos(two, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(BringTitledWindowToFront("Report"), 1);
  EXPECT_EQ(GetForegroundWindow(), two);
  SetWindowPos(one, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(BringTitledWindowToFront("Report"), 1);
  EXPECT_EQ(GetForegroundWindow(), one);
}

TEST_F(Activation, NoMatchTouchesNothing) {
  Make("");  // an untitled window never matches
  HWND other = Make("Other");
  BringWindowToFront(other);
  EXPECT_EQ(BringTitledWindowToFront("No Such Window Anywhere"), 0);
  EXPECT_EQ(BringTitledWindowToFront(""), 0);
  EXPECT_EQ(BringTitledWindowToFront(nullptr), 0);
  EXPECT_EQ(GetForegroundWindow(), other);
}

TEST_F(Activation, PatternWithAClassPart) {
  HWND host = Make("Whatever", true, "MyFMPRO5APPHost");
  const char pattern[] = "\0FMPRO5APP\0";
  WindowSearch search = {pattern, nullptr};
  EnumWindows(MatchTitleOrClass, reinterpret_cast<LPARAM>(&search));
  EXPECT_EQ(search.found, host);
  const char titleOnly[] = "hatev\0\0";
  search = {titleOnly, nullptr};
  EnumWindows(MatchTitleOrClass, reinterpret_cast<LPARAM>(&search));
  EXPECT_EQ(search.found, host);
}

}  // namespace
