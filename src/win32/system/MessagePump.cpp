#include "win32/system/MessagePump.h"

#include <windows.h>

namespace {

// The last keyboard message as the older SDKs define WM_KEYLAST; newer ones
// moved it to WM_UNICHAR.
const UINT LAST_KEY_MESSAGE = 0x0108;

}  // namespace

bool DispatchMessagesDroppingKeys(int& quitCode) {
  bool quit = false;
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) quit = true, quitCode = static_cast<int>(msg.wParam);
    if (msg.message == WM_QUIT || (msg.message >= WM_KEYFIRST && msg.message <= LAST_KEY_MESSAGE)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return quit;
}

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

void DeliverTypedKeys() {
  const DWORD QUIET_MS = 30, MOST_MS = 300;
  DWORD start = GetTickCount();
  do {
    DispatchKeyboardMessages();
  } while (MsgWaitForMultipleObjects(0, nullptr, FALSE, QUIET_MS, QS_KEY) == WAIT_OBJECT_0 &&
           GetTickCount() - start < MOST_MS);
}
