// FileMaker Pro 5 and 6's calls: init, the functions through handles, shutdown.
#include "plugin/FunctionTable.h"
#include "plugin/PluginState.h"
#include "plugin/classic/ClassicCallBlock.h"
#include "portable/classic/HostText.h"
#include "win32/guard/GuardLifetime.h"
#include "win32/watch/WatchedCounts.h"

namespace {
// Block of the call in progress; only dereferenced while a call runs.
FMExternCallStruct* g_currentCall;

void CallFunction(const FMExternCallStruct& block) {
  const FunctionEntry* function = FindFunction(HostInterface::Classic, block.functionNumber);
  if (!function || !function->rule) return;
  HostCallbacks host = CurrentHostCallbacks();
  char text[PARAMETER_TEXT_SIZE];
  ParameterText parameter = ReadClassicParameter(host, block.parameterHandle, text);
  Reply reply = {};
  function->rule(Guard(), parameter, reply);
  PlanLooks(Guard());  // a setting may have moved a deadline
  if (reply.given) WriteReply(host, block.result.resultHandle, reply.text);
  // The parameter, converted, may be a password: no copy of it stays behind.
  SecureZeroMemory(text, sizeof text);
}

}  // namespace

FMExternCallStruct* CurrentCall() { return g_currentCall; }

HostCallbacks CurrentHostCallbacks() {
  return {g_currentCall->resizeHandleProc, g_currentCall->handleSizeProc, g_currentCall->memoryErrorProc};
}

int32_t InitPlugin(int16_t /*interfaceVersion*/) {
  StartGuard(Guard(), g_currentCall->instanceHandle, HostInterface::Classic);
  return INIT_REPLY;
}

void HandleClassicCall(FMExternCallStruct* block) {
  g_currentCall = block;
  switch (block->callKind) {
    case CALL_KIND_INIT:
      block->result.initReply = InitPlugin(block->interfaceVersion);
      break;
    case CALL_KIND_SHUTDOWN:
      StopGuard(Guard());
      break;
    case CALL_KIND_EXTERNAL:
      CallFunction(*block);
      break;
    default:
      break;
  }
}
