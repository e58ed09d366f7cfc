// Text in Unicode Normalization Form C, as Windows composes it: "É" typed as
// one character and as "E" with a combining accent are then one text.
#pragma once

#include <cstddef>

// text (UTF-8) composed into out (size bytes, at least 1), NUL-terminated. Where
// Windows cannot compose it (NormalizeString is there from Windows Vista on),
// or the result does not fit, the text as given, cut at a character boundary.
void ComposeText(const char* text, char* out, size_t size);
