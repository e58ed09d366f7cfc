// FileMaker 7 and later's calls, on the call block of this build's pointer size.
#pragma once

#include "portable/modern/ModernCallBlock.h"

void HandleModernCall(FMModernCallBlock& block);
