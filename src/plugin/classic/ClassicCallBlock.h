// The host call block that FileMaker Pro passes on every call, and the entry
// point. The layout is the host's; only the fields named here are touched.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "plugin/EntryPoint.h"
#include "portable/classic/HostHandle.h"

#pragma pack(push, 1)
struct FMExternCallStruct {
  int16_t interfaceVersion;  // 0
  uint8_t hostOnly2[7];
  uint8_t callKind;  // 9: 0 init, 3 external function, 4 shutdown
  uint8_t hostOnly10[2];
  uint32_t functionNumber;   // 12
  FMHandle parameterHandle;  // 16
  HINSTANCE instanceHandle;  // 20
  union {
    int32_t initReply;      // call kind 0
    FMHandle resultHandle;  // call kind 3
  } result;                 // 24
  uint8_t hostOnly28[8];
  FMResizeHandleProc resizeHandleProc;  // 36
  FMHandleSizeProc handleSizeProc;      // 40
  uint8_t hostOnly44[24];
  FMMemoryErrorProc memoryErrorProc;  // 68
};
#pragma pack(pop)

static_assert(sizeof(void*) == 4, "the host call block has 32-bit pointers");
static_assert(offsetof(FMExternCallStruct, interfaceVersion) == 0, "interfaceVersion");
static_assert(offsetof(FMExternCallStruct, callKind) == 9, "callKind");
static_assert(offsetof(FMExternCallStruct, functionNumber) == 12, "functionNumber");
static_assert(offsetof(FMExternCallStruct, parameterHandle) == 16, "parameterHandle");
static_assert(offsetof(FMExternCallStruct, instanceHandle) == 20, "instanceHandle");
static_assert(offsetof(FMExternCallStruct, result) == 24, "result");
static_assert(offsetof(FMExternCallStruct, resizeHandleProc) == 36, "resizeHandleProc");
static_assert(offsetof(FMExternCallStruct, handleSizeProc) == 40, "handleSizeProc");
static_assert(offsetof(FMExternCallStruct, memoryErrorProc) == 68, "memoryErrorProc");

const uint8_t CALL_KIND_INIT = 0;
const uint8_t CALL_KIND_EXTERNAL = 3;
const uint8_t CALL_KIND_SHUTDOWN = 4;
const int32_t INIT_REPLY = 4;

// Block of the call in progress; only dereferenced while a call runs.
FMExternCallStruct* CurrentCall();

// FileMaker Pro 5 and 6's calls, as FMExternCallProc hands them on.
void HandleClassicCall(FMExternCallStruct* block);
int32_t InitPlugin(int16_t interfaceVersion);

// The callbacks of the call in progress.
HostCallbacks CurrentHostCallbacks();
