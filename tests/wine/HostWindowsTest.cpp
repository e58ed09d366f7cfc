// Finding the host main window and an open menu window among real windows.
#include <gtest/gtest.h>

#include "WinTestSupport.h"
#include "win32/system/HostWindows.h"

namespace {

class HostWindows : public ::testing::Test {
 protected:
  HWND Make(const char* cls, bool visible = true) {
    HWND hwnd = TopWindow(cls, cls, visible);
    made_.push_back(hwnd);
    return hwnd;
  }
  void SetUp() override { ForgetFoundWindow(); }
  void TearDown() override {
    for (HWND h : made_) DestroyWindow(h);
    ForgetFoundWindow();
  }
  std::vector<HWND> made_;
};

TEST_F(HostWindows, PrefixAcceptsFileMakerClasses) {
  HWND five = Make("FMPRO5APP");
  EXPECT_EQ(FindHostWindowInUseOrFallback(), five);
  DestroyWindow(five);
  HWND three = Make("FMPRO3APP", false);
  EXPECT_EQ(FindHostWindowInUseOrFallback(), three) << "hidden windows are searched too";
}

TEST_F(HostWindows, PrefixIsCaseSensitive) {
  HWND other = Make("fmpro9app");  // class names ignore case: this one must be new
  Make("FMPR");
  SetForegroundWindow(other);
  PumpFor(20);
  EXPECT_EQ(FindHostWindowInUseOrFallback(), GetForegroundWindow()) << "no host: the foreground window";
  EXPECT_EQ(LastFoundWindow(), nullptr);
}

// The window in use: the foreground one when it is a host window, else the one
// in front most recently, else the first in Z order.
TEST_F(HostWindows, TheHostWindowInFrontIsInUseAndStaysSoWhileAnotherIsInFront) {
  auto inFront = [](HWND hwnd) {
    SetForegroundWindow(hwnd);
    return PumpUntil([hwnd] { return GetForegroundWindow() == hwnd; }, 2000);
  };
  HWND a = Make("FMPRO5APP");
  HWND b = Make("FMPRO7APP");
  ASSERT_TRUE(inFront(a));
  EXPECT_EQ(FindHostWindowInUseOrFallback(), a);
  ASSERT_TRUE(inFront(b));
  EXPECT_EQ(FindHostWindowInUseOrFallback(), b) << "the user moved to the other document";
  ASSERT_TRUE(inFront(Make("SomethingElse")));
  SetWindowPos(a, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(FindHostWindowInUseOrFallback(), b) << "the one in front last, not the first in Z order";
  DestroyWindow(b);
  EXPECT_EQ(FindHostWindowInUseOrFallback(), a) << "gone: the first in Z order now";
}

TEST_F(HostWindows, AnEarlierResultIsKeptWhileItLives) {
  HWND host = Make("FMPRO5APP");
  EXPECT_EQ(FindHostWindowInUseOrFallback(), host);
  HWND other = Make("SomethingElse");
  DestroyWindow(host);  // the slot now names no window
  SetForegroundWindow(other);
  PumpFor(20);
  EXPECT_EQ(FindHostWindowInUseOrFallback(), GetForegroundWindow());
}

TEST_F(HostWindows, NoMenuMeansNull) {
  EXPECT_EQ(FindHostWindowInUseOrFallback(), Make("FMPRO5APP"));
  EXPECT_EQ(FindOpenMenuWindow(), nullptr);
  EXPECT_EQ(LastFoundWindow(), nullptr);
}

HWND g_found, g_hostWhileMenuOpen;
std::string g_foundClass;

void CALLBACK LookForMenu(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  g_found = FindOpenMenuWindow();
  g_foundClass = WindowClass(g_found);
  // With no host, the last window found (this menu) stands in for it.
  g_hostWhileMenuOpen = FindHostWindowInUseOrFallback();
  EndMenu();
}

TEST_F(HostWindows, FindsTheWindowOfARealOpenPopupMenu) {
  HWND owner = Make("MenuOwner");
  SetForegroundWindow(owner);
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING, 1, "One");
  AppendMenuA(menu, MF_STRING, 2, "Two");
  g_found = nullptr;
  g_foundClass.clear();
  UINT_PTR timer = SetTimer(nullptr, 0, 100, LookForMenu);
  TrackPopupMenu(menu, TPM_LEFTALIGN, 100, 100, 0, owner, nullptr);
  KillTimer(nullptr, timer);
  DestroyMenu(menu);
  ASSERT_NE(g_found, nullptr);
  EXPECT_EQ(g_foundClass, "#32768");
  EXPECT_EQ(g_hostWhileMenuOpen, g_found);
  HWND host = Make("FMPRO5APP");
  EXPECT_EQ(FindHostWindowInUseOrFallback(), host) << "the host search overwrites the menu in the slot";
}

TEST_F(HostWindows, AnotherProgramsWindowIsNeverTheHost) {
  HWND ours = Make("FMPRO5APP");
  HWND theirs = OtherApplicationWindow("FMPRO5APP");
  ASSERT_NE(theirs, nullptr);
  SetWindowPos(theirs, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(FindHostWindowInUseOrFallback(), ours) << "the first in Z order, but not of this process";
  DestroyWindow(ours);
  FindHostWindowInUseOrFallback();
  EXPECT_NE(LastFoundWindow(), theirs) << "never accepted, even as the only one";
  CloseOtherApplication();
}

}  // namespace
