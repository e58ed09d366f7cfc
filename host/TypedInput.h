// Typing (and scrolling) as a person at the keyboard would, through SendInput: the keys go to
// whichever window has the focus. Text is UTF-8: a character beyond ASCII is
// typed as a Unicode keystroke. Shared by the stand-in's scripts and the tests.
#pragma once

#include <windows.h>

#include <string>

void TypeText(const std::string& text);
void TypeKey(WORD vk);
void TypeKeyWith(WORD modifier, WORD vk);
// One notch of the mouse wheel, as a person scrolling: the cursor stays.
void TurnWheel();
