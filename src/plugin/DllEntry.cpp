// The plug-in's entry point, in place of the C runtime's start-up code, which
// is left out of the link: nothing here needs it. There are no static
// constructors or destructors, no thread-local data and no atexit; the
// functions taken from msvcrt.dll need no set-up of ours. Without that code
// and its tables Lullex.fmx keeps within its 64 KiB.
#include <windows.h>

extern "C" BOOL WINAPI LullexDllEntry(HINSTANCE, DWORD, LPVOID) { return TRUE; }
