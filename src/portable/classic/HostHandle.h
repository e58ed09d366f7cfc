// Host handles and the host's three handle callbacks, as the plug-in sees them.
// Kept free of <windows.h> so that the parameter and reply code builds anywhere.
#pragma once

#include <cstdint>

#if defined(_WIN32)
#define FM_STDCALL __stdcall
#else
#define FM_STDCALL
#endif

// A host-owned, resizable block: a pointer to a master pointer to the bytes.
typedef unsigned char** FMHandle;

typedef void(FM_STDCALL* FMResizeHandleProc)(FMHandle handle, int32_t newSize);
typedef int32_t(FM_STDCALL* FMHandleSizeProc)(FMHandle handle);
typedef int16_t(FM_STDCALL* FMMemoryErrorProc)();

struct HostCallbacks {
  FMResizeHandleProc resizeHandleProc;
  FMHandleSizeProc handleSizeProc;
  FMMemoryErrorProc memoryErrorProc;
};
