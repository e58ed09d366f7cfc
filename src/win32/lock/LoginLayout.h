// The login's layout under FileMaker 7 and later, where its texts come in any
// of eleven languages and the solution may add a line of its own: each control
// as large as its text, the dialog as large as its controls.
#pragma once

#include <windows.h>

// Lays out the login, whose texts are set, from the top: the prompt and the
// solution's line (where the login has one) wrapped to the dialog's width; the
// shared desk's list (where it has one) and the password field, each after its
// label, the labels as wide as the widest; then OK, as wide as its word. The
// prompt keeps room for longestCountdown (UTF-8), which may stand in for it. The
// dialog is never smaller than its template, nor taller than screenHeight: a
// line of the solution's that would make it so shows its first lines.
void FitLoginToTexts(HWND login, const char* longestCountdown, int screenHeight);
