// Reading parameter texts and writing reply texts through the host callbacks.
#pragma once

#include "portable/text/HostHandle.h"

// Longest parameter that a function reads; longer ones are refused.
const int32_t MAX_PARAMETER_LENGTH = 254;
// Size of a buffer that can hold any readable parameter with its terminator.
const int PARAMETER_BUFFER_SIZE = MAX_PARAMETER_LENGTH + 1;

const char REPLY_TAKEN[] = "0";
const char REPLY_BAD_LENGTH[] = "$$001$$";

bool ParameterLengthIsGood(int32_t size);
// Whether a parameter of this size is read at all (the empty one is).
bool ParameterCanBeRead(int32_t size);

// Copies the parameter text into buffer (PARAMETER_BUFFER_SIZE bytes or more),
// up to its size or its first NUL, and terminates it. An empty parameter gives
// the empty text. Returns false, leaving buffer untouched, when the parameter
// is too long (or its size makes no sense) to be read.
bool ReadParameterText(const HostCallbacks& host, FMHandle parameter, char* buffer);

// Replaces the result handle's bytes with text, without a terminator. When the
// host reports a failed resize nothing is written.
void WriteReply(const HostCallbacks& host, FMHandle result, const char* text);

// The closing step of every handler but Version: a parameter of bad length is
// answered with "$$001$$", replacing any earlier reply.
void ReplyIfBadLength(const HostCallbacks& host, FMHandle parameter, FMHandle result);
