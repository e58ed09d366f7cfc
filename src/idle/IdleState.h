// The idle engine's process-wide state: limits, counts, switches and latches.
#pragma once

#include <windows.h>

#include <cstdint>

extern HWND HiddenDialog;  // the timer dialog, null until a handler creates it

extern int32_t thetick;           // record idle limit, seconds; below 1 is off
extern int32_t numberseconds;     // record idle count, 250 ms ticks
extern int32_t theapptick;        // FileMaker idle limit, seconds; below 1 is off
extern int32_t appnumberseconds;  // FileMaker idle count, 250 ms ticks
extern int32_t thescripttick;     // script timer setting; never above 0
extern int32_t TMImmediateSW;     // exit the record as soon as the host is inactive
extern int32_t kcanbackground;    // FileMaker count runs on in the background
extern int32_t kscriptcanbackground;
extern int32_t Booted;  // exit-record latch: 1 after the action, 0 when re-armed

const int MISC_INPUT_SIZE = 1024;
extern char miscinput[MISC_INPUT_SIZE];  // text of a panel edit field
