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
    // PeekMessage hands over the host's WM_QUIT whatever the filter: it goes back
    // for the host's own loop, which would otherwise never end.
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}
