// FileMaker Pro hands its text over in Mac OS Roman; Windows wants Windows-1252.
#pragma once

// Converts the NUL-terminated text in place, byte for byte.
void ConvertMacRomanToWindows(char* text);
