#include "win32/lock/ShownText.h"

#include "portable/engine/GuardState.h"
#include "portable/text/UnicodeText.h"

namespace {

// Room for the longest text shown: the solution's line with a break for each
// of its characters, each break two units.
const size_t SHOWN_UNITS = 2 * LOCK_MESSAGE_SIZE;

typedef LANGID(WINAPI* UiLanguageFunction)();

void ToUnits(const char* text, WCHAR (&units)[SHOWN_UNITS]) {
  static_assert(sizeof(WCHAR) == sizeof(char16_t), "UTF-16 units");
  size_t count = Utf8ToUtf16(text, reinterpret_cast<char16_t*>(units), SHOWN_UNITS - 1);
  units[count] = L'\0';
}

// The size of units drawn in the control's font, as a static control draws them.
SIZE UnitsSize(HWND control, const WCHAR* units, int wrapWidth, UINT flags) {
  RECT r = {0, 0, wrapWidth > 0 ? wrapWidth : 1, 0};
  flags |= DT_CALCRECT | DT_EXPANDTABS | (wrapWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE);
  HDC dc = GetDC(control);
  HGDIOBJ before = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
  DrawTextW(dc, units, -1, &r, flags);
  SelectObject(dc, before);
  ReleaseDC(control, dc);
  SIZE size = {r.right - r.left, r.bottom - r.top};
  return size;
}

}  // namespace

LockLanguage ShownLanguage(HostInterface hostInterface) {
  if (hostInterface != HostInterface::Modern) return LockLanguage::English;
  // Windows NT 4.0 and 95 lack it; FileMaker 7 and later never ran there.
  UiLanguageFunction uiLanguage = reinterpret_cast<UiLanguageFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetUserDefaultUILanguage")));
  return LockLanguageOf(uiLanguage ? uiLanguage() : 0);
}

void SetShownText(HWND window, HostInterface hostInterface, const char* text) {
  if (hostInterface != HostInterface::Modern) {
    SetWindowTextA(window, text);
    return;
  }
  WCHAR units[SHOWN_UNITS];
  ToUnits(text, units);
  SetWindowTextW(window, units);
}

void SetShownItemText(HWND dialog, int id, HostInterface hostInterface, const char* text) {
  SetShownText(GetDlgItem(dialog, id), hostInterface, text);
}

void ShowLockMessageBox(HWND owner, HostInterface hostInterface, LockLanguage language, LockText text, LockText caption,
                        UINT style) {
  if (hostInterface != HostInterface::Modern) {
    MessageBoxA(owner, LockTextIn(language, text), LockTextIn(language, caption), style);
    return;
  }
  WCHAR textUnits[SHOWN_UNITS], captionUnits[SHOWN_UNITS];
  ToUnits(LockTextIn(language, text), textUnits);
  ToUnits(LockTextIn(language, caption), captionUnits);
  MessageBoxW(owner, textUnits, captionUnits, style);
}

SIZE ShownTextSize(HWND control, int wrapWidth, UINT flags) {
  WCHAR units[SHOWN_UNITS] = L"";
  GetWindowTextW(control, units, SHOWN_UNITS);
  return UnitsSize(control, units, wrapWidth, flags);
}

SIZE TextSizeIn(HWND control, const char* text, int wrapWidth, UINT flags) {
  WCHAR units[SHOWN_UNITS];
  ToUnits(text, units);
  return UnitsSize(control, units, wrapWidth, flags);
}
