// The entry point that FileMaker Pro calls, and the init call.
#include "../hostwin/HostWindows.h"
#include "../idle/IdleState.h"
#include "../idle/TimerDialog.h"
#include "Functions.h"
#include "HostCall.h"

FMExternCallStruct* gFMExternCallPtr;
HCURSOR thepointer;

HostCallbacks CurrentHostCallbacks() {
  return {gFMExternCallPtr->resizeHandleProc, gFMExternCallPtr->handleSizeProc,
          gFMExternCallPtr->memoryErrorProc};
}

int32_t InitPlugin(int16_t /*interfaceVersion*/) {
  thepointer = GetCursor();
  // An earlier dialog must not go on counting against the fresh state beside
  // the next one; a lock that is up stays up until its password.
  DestroyTimerDialog();
  thetick = 0;
  numberseconds = 0;
  theapptick = 0;
  appnumberseconds = 0;
  thescripttick = 0;
  MasterHandle = nullptr;
  TMImmediateSW = 0;
  kcanbackground = 0;
  kscriptcanbackground = 0;
  Booted = 0;
  return INIT_REPLY;
}

extern "C" void FMExternCallProc(FMExternCallStruct* block) {
  gFMExternCallPtr = block;
  switch (block->callKind) {
    case CALL_KIND_INIT:
      block->result.initReply = InitPlugin(block->interfaceVersion);
      break;
    case CALL_KIND_SHUTDOWN:
      // The host may free the library next while its windows live on: no timer
      // and no window of ours may be left to call into unmapped code.
      DestroyTimerDialog();
      break;
    case CALL_KIND_EXTERNAL:
      DispatchExternal(block->functionNumber, block->parameterHandle, block->result.resultHandle);
      break;
    default:
      break;
  }
}
