// Sets of characters from the Unicode Character Database, made by
// scripts/unicode-sets.py (UnicodeSets.cpp): what a name of a person may not
// hold, or not begin or end with.
#pragma once

struct CodePointRun {
  char32_t first, last;
};

// Unicode's White_Space: spaces of every width, the ideographic space a
// Japanese input method types, line and paragraph separators.
bool IsWhiteSpace(char32_t c);
// Unicode's Default_Ignorable_Code_Point: what shows nothing where it is not
// understood (joiners, variation selectors, the Hangul fillers, ...).
bool IsDefaultIgnorable(char32_t c);
// Unicode's category Cf, format characters: they show nothing, or reorder
// the text around them (bidirectional controls, the byte order mark, ...).
bool IsFormatCharacter(char32_t c);
