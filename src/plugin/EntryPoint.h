// The one export FileMaker looks for. It takes the host's call block: the
// classic one of FileMaker Pro 5 and 6 or the modern one of FileMaker 7 and
// later (Lullex.fmx takes both, Lullex.fmx64 the modern one).
#pragma once

extern "C" void FMExternCallProc(void* block);
