// Lullex.fmx: one file for every 32-bit FileMaker. Both call blocks begin
// alike, so the first init tells which interface the host speaks.
#include <cstring>

#include "plugin/EntryPoint.h"
#include "plugin/classic/ClassicCallBlock.h"
#include "plugin/modern/ModernEntry.h"
#include "portable/host/HostInterface.h"

namespace {
InterfaceChoice g_choice;  // none at load
}

extern "C" void FMExternCallProc(void* block) {
  const unsigned char* bytes = static_cast<const unsigned char*>(block);
  int16_t version;
  std::memcpy(&version, bytes, sizeof version);
  static_assert(offsetof(FMExternCallStruct, callKind) == 9 && offsetof(FMModernCallBlock, callKind) == 9,
                "both blocks have the call kind at byte 9");
  if (RouteCall(g_choice, bytes[9], version) == HostInterface::Modern)
    HandleModernCall(*static_cast<FMModernCallBlock*>(block));
  else
    HandleClassicCall(static_cast<FMExternCallStruct*>(block));
}
