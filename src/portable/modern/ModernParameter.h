// Today's FileMaker hands a function its arguments as a vector of data in
// UTF-16: reading the first into the form the functions take.
#pragma once

#include "portable/engine/ParameterRules.h"
#include "portable/modern/FMWrapperApi.h"

// Reads argument index of arguments into text (PARAMETER_TEXT_SIZE bytes) as
// UTF-8, up to its first NUL. No such argument reads as empty. More than 254
// characters (a surrogate pair is one), or an argument FileMaker fails to
// give, is unreadable.
ParameterText ReadModernParameter(const FMTextReading& fm, const void* arguments, uint32_t index, char* text);
