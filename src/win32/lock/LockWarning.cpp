#include "win32/lock/LockWarning.h"

#include <algorithm>

#include "resources/ResourceIds.h"
#include "win32/lock/ShownText.h"
#include "win32/system/Monitors.h"

namespace {

const int EDGE_GAP = 8;  // pixels between the notice and the edges of the work area

// The template's measures, in dialog units.
const int TEXT_LEFT = 6;
const int TEXT_TOP = 5;
const int TEXT_GAP = 2;
const int TEXT_LEAST_WIDTH = 158;
const int TEXT_LEAST_HEIGHT = 9;

INT_PTR CALLBACK NoticeProc(HWND hwnd, UINT message, WPARAM, LPARAM) {
  if (message == WM_MOUSEACTIVATE) {
    // A click on the notice must not take the activation from the host.
    SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, MA_NOACTIVATE);
    return TRUE;
  }
  return FALSE;  // WM_INITDIALOG too: no control gets the focus
}

// Both lines as wide as the wider of them, on one line each unless that would
// take more than half the work area; the notice around them.
void FitToTexts(HWND notice, HWND host) {
  // Set in place: a RECT initialised from constants gets a writable copy of
  // them, and a whole data section of the file with it.
  RECT unit;
  SetRect(&unit, TEXT_LEFT, TEXT_TOP, TEXT_LEAST_WIDTH, TEXT_LEAST_HEIGHT);
  MapDialogRect(notice, &unit);
  HWND lines[] = {GetDlgItem(notice, IDC_WARNING_COUNTDOWN), GetDlgItem(notice, IDC_WARNING_HINT)};
  RECT area = WorkAreaOf(host);
  int widest = (area.right - area.left) / 2;
  int width = unit.right;
  for (HWND line : lines) width = std::max<int>(width, ShownTextSize(line, 0).cx);
  if (width > widest) width = std::max<int>(unit.right, widest);
  RECT gap = {0, 0, 0, TEXT_GAP};
  MapDialogRect(notice, &gap);
  int top = unit.top;
  for (HWND line : lines) {
    int height = std::max<int>(unit.bottom, ShownTextSize(line, width).cy);
    SetWindowPos(line, nullptr, unit.left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    top += height + gap.bottom;
  }
  top -= gap.bottom;
  RECT frame, client;
  GetWindowRect(notice, &frame);
  GetClientRect(notice, &client);
  SetWindowPos(notice, nullptr, 0, 0, width + 2 * unit.left + (frame.right - frame.left) - client.right,
               top + unit.top + (frame.bottom - frame.top) - client.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetCountdown(LockWarningNotice& notice, int32_t seconds) {
  char text[128];
  FillCountdown(LockTextIn(notice.language, LockText::WarningCountdown), seconds, text, sizeof text);
  SetShownItemText(notice.window, IDC_WARNING_COUNTDOWN, notice.shownFor, text);
  notice.secondsShown = seconds;
}

// At the bottom right of the work area of the monitor that shows the host.
void PlaceInCorner(HWND notice, HWND host, UINT flags) {
  RECT area = WorkAreaOf(host);
  RECT size;
  GetWindowRect(notice, &size);
  int x = area.right - (size.right - size.left) - EDGE_GAP;
  int y = area.bottom - (size.bottom - size.top) - EDGE_GAP;
  SetWindowPos(notice, HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | flags);
}

}  // namespace

void ShowLockWarning(LockWarningNotice& notice, HINSTANCE instance, HWND owner, HWND host, int32_t seconds,
                     HostInterface hostInterface) {
  if (notice.window && !IsWindow(notice.window)) notice.window = nullptr;
  bool modern = hostInterface == HostInterface::Modern;
  bool created = !notice.window;
  if (created) {
    notice.shownFor = hostInterface;
    notice.language = ShownLanguage(hostInterface);
    notice.window = modern ? CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_LOCK_WARNING), owner, NoticeProc, 0)
                           : CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_LOCK_WARNING), owner, NoticeProc, 0);
    if (!notice.window) return;
    SetShownItemText(notice.window, IDC_WARNING_HINT, hostInterface,
                     LockTextIn(notice.language, LockText::WarningHint));
  } else if (seconds == notice.secondsShown) {
    return;
  }
  SetCountdown(notice, seconds);
  // The template holds no text: each language takes the room it needs, and
  // a smaller countdown less.
  FitToTexts(notice.window, host);
  PlaceInCorner(notice.window, host, created ? SWP_SHOWWINDOW : 0);
}

void CloseLockWarning(LockWarningNotice& notice) {
  if (!notice.window) return;
  DestroyWindow(notice.window);
  notice.window = nullptr;
  notice.secondsShown = 0;
}
