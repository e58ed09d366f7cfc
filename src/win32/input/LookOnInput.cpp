#include "win32/input/LookOnInput.h"

namespace {

// The dialog whose FileMaker tick the person's next input brings forward, and
// the tick's timer.
HWND g_tickOnInput;
UINT_PTR g_tickOnInputTimer;

}  // namespace

void TickOnPersonsInput(HWND dialog, UINT_PTR timer) {
  g_tickOnInput = dialog;
  g_tickOnInputTimer = timer;
}

void TickNowOnPersonsInput() {
  if (!g_tickOnInput) return;
  SetTimer(g_tickOnInput, g_tickOnInputTimer, USER_TIMER_MINIMUM, nullptr);
  g_tickOnInput = nullptr;
}
