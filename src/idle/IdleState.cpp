#include "IdleState.h"

HWND HiddenDialog;
int32_t thetick;
int32_t numberseconds;
int32_t theapptick;
int32_t appnumberseconds;
int32_t thescripttick;
int32_t TMImmediateSW;
int32_t kcanbackground;
int32_t kscriptcanbackground;
int32_t Booted;
char miscinput[MISC_INPUT_SIZE];
