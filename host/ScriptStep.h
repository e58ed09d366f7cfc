// What every kind of the script's steps shares: how a step ended, and reading
// its text.
#pragma once

#include <string>

enum class StepResult {
  Done,
  Quit,
  Unknown,      // a step that failed, or no step of that name: a failure of the run
  NotThisKind,  // for the next kind of step to try
};

// \xHH in text is a byte.
std::string Unescape(const std::string& text);
// The first word and the rest after its space.
void SplitFirst(const std::string& text, std::string& first, std::string& rest);
