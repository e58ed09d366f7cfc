// The entry point that FileMaker Pro calls: init, the functions, shutdown.
#include "plugin/Functions.h"
#include "plugin/HostCall.h"
#include "plugin/PluginState.h"
#include "win32/HostWindows.h"
#include "win32/TimerDialog.h"

namespace {
// Block of the call in progress; only dereferenced while a call runs.
FMExternCallStruct* g_currentCall;
}  // namespace

FMExternCallStruct* CurrentCall() { return g_currentCall; }

HostCallbacks CurrentHostCallbacks() {
  return {g_currentCall->resizeHandleProc, g_currentCall->handleSizeProc, g_currentCall->memoryErrorProc};
}

int32_t InitPlugin(int16_t /*interfaceVersion*/) {
  WorkstationGuard& guard = Guard();
  guard.exitRecord.cursorAtInit = GetCursor();
  // An earlier dialog must not go on counting against the fresh state beside
  // the next one. A lock that is up stays up until its password.
  DestroyTimerDialog(guard);
  ForgetFoundWindow();
  ResetForInit(guard.state);
  return INIT_REPLY;
}

extern "C" void FMExternCallProc(FMExternCallStruct* block) {
  g_currentCall = block;
  switch (block->callKind) {
    case CALL_KIND_INIT:
      block->result.initReply = InitPlugin(block->interfaceVersion);
      break;
    case CALL_KIND_SHUTDOWN:
      // The host may free the library next while its windows live on: no timer
      // and no window of ours may be left to call into unmapped code.
      DestroyTimerDialog(Guard());
      break;
    case CALL_KIND_EXTERNAL:
      DispatchExternal(block->functionNumber, block->parameterHandle, block->result.resultHandle);
      break;
    default:
      break;
  }
}
