// The lock screen entered the way the timer dialog enters it, and its windows
// as a test finds them: a fixture that types into them step by step.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "PluginFixture.h"
#include "plugin/Functions.h"
#include "portable/engine/LoginDelay.h"
#include "resources/ResourceIds.h"
#include "win32/commit/WindowActivation.h"
#include "win32/lock/LockScreen.h"
#include "win32/lock/LoginWait.h"
#include "win32/system/SystemCrypto.h"
#include "win32/watch/Timers.h"

inline HWND Login() { return FindWindowA(nullptr, "Please Login"); }
inline HWND Backdrop() { return GetWindow(Login(), GW_OWNER); }
inline HWND MessageBoxWindow() { return FindWindowA(nullptr, "Incorrect password"); }

inline BOOL CALLBACK FirstStaticText(HWND child, LPARAM out) {
  char text[256];
  if (lstrcmpiA(WindowClass(child).c_str(), "Static") == 0 && GetWindowTextA(child, text, sizeof text) > 0) {
    *reinterpret_cast<std::string*>(out) = text;
    return FALSE;
  }
  return TRUE;
}

inline std::string BoxText(HWND box) {
  std::string text;
  EnumChildWindows(box, FirstStaticText, reinterpret_cast<LPARAM>(&text));
  return text;
}

inline std::string PromptText() {
  char text[256] = "";
  GetDlgItemTextA(Login(), IDC_LOGIN_PROMPT, text, sizeof text);
  return text;
}

inline bool TakesTries() {
  return IsWindowEnabled(GetDlgItem(Login(), IDC_PASSWORD)) && IsWindowEnabled(GetDlgItem(Login(), IDC_LOGIN_OK));
}

inline std::string FieldText() {
  char text[300] = "";
  GetDlgItemTextA(Login(), IDC_PASSWORD, text, sizeof text);
  return text;
}

inline void CALLBACK Failsafe(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  ADD_FAILURE() << "the lock screen was still up after 30 s";
  if (MessageBoxWindow()) PostMessageA(MessageBoxWindow(), WM_CLOSE, 0, 0);
  if (Backdrop()) EndDialog(Backdrop(), 1);
  if (Login()) EndDialog(Login(), 1);
}

class LockScreen : public PluginTest {
 protected:
  // Locks as the timer dialog does; true when the password ended the lock.
  bool Lock() {
    driver.Start();
    UINT_PTR failsafe = SetTimer(nullptr, 0, 30000, Failsafe);
    bool result = RunLockScreen(GetModuleHandleA(nullptr), Guard()) == LockEnd::Unlocked;
    EXPECT_EQ(State().lockIsUp, 0);
    KillTimer(nullptr, failsafe);
    driver.Stop();
    EXPECT_TRUE(driver.Finished());
    return result;
  }
  void SetPassword(const std::string& windowsText) { lstrcpyA(State().settings.password, windowsText.c_str()); }
  void AddWaitForLogin() {
    driver.Add([] { return Login() && IsWindowVisible(Login()) && GetFocus() == GetDlgItem(Login(), IDC_PASSWORD); });
  }
  void AddTyping(const std::string& text, bool enter = true) {
    driver.Add([text, enter] {
      TypeText(text);
      if (enter) TypeKey(VK_RETURN);
      return true;
    });
  }
  // Expects the "Access Denied" box, checks it, and closes it with Enter.
  void AddRejection() {
    driver.Add([this] {
      HWND box = MessageBoxWindow();
      if (!box || !IsWindowVisible(box)) return false;
      ++rejections;
      boxText = BoxText(box);
      boxOwner = GetWindow(box, GW_OWNER);
      loginAtRejection = Login();
      fieldAfterRejection = FieldText();
      TypeKey(VK_RETURN);
      return true;
    });
    driver.Add([] { return !MessageBoxWindow() && GetFocus() == GetDlgItem(Login(), IDC_PASSWORD); });
  }
  StepDriver driver;
  int rejections = 0;
  std::string boxText, fieldAfterRejection;
  HWND boxOwner = nullptr, loginAtRejection = nullptr;
};
