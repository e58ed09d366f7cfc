// Lullex.fmx64: 64-bit FileMaker speaks only the modern interface.
#include "plugin/EntryPoint.h"
#include "plugin/modern/ModernEntry.h"

extern "C" void FMExternCallProc(void* block) { HandleModernCall(*static_cast<FMModernCallBlock*>(block)); }
