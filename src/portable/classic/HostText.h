// FileMaker Pro 5 and 6 hand parameters over, and take replies back, as handles
// of Mac OS Roman bytes: reading one into the form the functions take, and
// writing a reply.
#pragma once

#include "portable/classic/HostHandle.h"
#include "portable/engine/ParameterRules.h"

// Reads the parameter into buffer (PARAMETER_TEXT_SIZE bytes), up to its size
// or its first NUL, converted to Windows text. A size the functions do not read
// (over 254 bytes, or one that makes no sense) gives an unreadable parameter
// and leaves buffer untouched.
ParameterText ReadClassicParameter(const HostCallbacks& host, FMHandle parameter, char* buffer);

// Replaces the result handle's bytes with text, without a terminator. When the
// host reports a failed resize nothing is written.
void WriteReply(const HostCallbacks& host, FMHandle result, const char* text);
