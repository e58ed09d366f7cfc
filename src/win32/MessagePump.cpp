#include "win32/MessagePump.h"

#include <windows.h>

namespace {

// The last keyboard message as the older SDKs define WM_KEYLAST; newer ones
// moved it to WM_UNICHAR.
const UINT LAST_KEY_MESSAGE = 0x0108;

}  // namespace

void DispatchKeyboardMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, WM_KEYFIRST, LAST_KEY_MESSAGE, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}
