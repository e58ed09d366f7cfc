// The hidden timer dialog that owns every timer of the plug-in and counts idle
// time on their ticks.
#pragma once

#include <windows.h>

#include <cstdint>

const UINT_PTR RECORD_TIMER = 1113;
const UINT_PTR FILEMAKER_TIMER = 1114;
const UINT_PTR KEYSCAN_TIMER = 1116;
const UINT_PTR RESTORE_TIMER = 1117;
const UINT IDLE_TICK_MS = 250;
const UINT KEYSCAN_TICK_MS = 100;
const UINT RESTORE_DELAY_MS = 100;

INT_PTR CALLBACK MyDlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Creates the timer dialog from the plug-in's template 1112 unless one exists,
// owned by the host main window.
void CreateTimerDialog(HINSTANCE instance);

// Stops the timer dialog's timers and destroys it: none of the plug-in's code
// runs on its account afterwards.
void DestroyTimerDialog();

// Stops every timer of dialog (null does nothing).
void StopTimers(HWND dialog);

// Ticks as many 250 ms ticks as a limit of seconds takes: 4 x seconds.
inline int32_t TicksFor(int32_t seconds) { return 4 * seconds; }
