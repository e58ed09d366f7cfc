// The texts that the lock and its notice show: under FileMaker 7 and later in
// the Windows user's interface language, drawn in UTF-16 so that every script
// shows whatever the system's code page; under FileMaker Pro 5 and 6 in English
// and Windows text, exactly as they always were.
#pragma once

#include <windows.h>

#include "portable/host/HostInterface.h"
#include "portable/text/LockTexts.h"

// The language of the interface the user reads (GetUserDefaultUILanguage, from
// Windows 2000 on); English under FileMaker Pro 5 and 6, and where Windows
// cannot tell.
LockLanguage ShownLanguage(HostInterface hostInterface);

// Sets a window's text (a control's, with id) from UTF-8: UTF-16 where the host
// is modern; otherwise as Windows text, which the English texts are as they stand.
void SetShownText(HWND window, HostInterface hostInterface, const char* text);
void SetShownItemText(HWND dialog, int id, HostInterface hostInterface, const char* text);

// A message box of the lock's, with its text and caption in the language.
void ShowLockMessageBox(HWND owner, HostInterface hostInterface, LockLanguage language, LockText text, LockText caption,
                        UINT style);

// The size that a control's text takes in its own font as a static control
// draws it: wrapped at wrapWidth pixels, or on one line where wrapWidth is 0.
// flags adds DrawText flags such as DT_NOPREFIX. TextSizeIn: the size that
// text (UTF-8) would take in the control, measured the same way.
SIZE ShownTextSize(HWND control, int wrapWidth, UINT flags = 0);
SIZE TextSizeIn(HWND control, const char* text, int wrapWidth, UINT flags = 0);
