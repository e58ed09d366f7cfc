// Hostile parameters for every function, and what the plug-in must make of
// them: the reply bytes and the settings that follow.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The parameters tried: sizes from 0 to 1 MiB, NULs first and in the middle,
// every byte value, and numbers at and beyond the 32-bit edges.
std::vector<std::string> BadParameters();

struct ExpectedSettings {
  std::string password;  // Windows text
  int32_t recordLimit = 0;
  int32_t fileMakerLimit = 0;
  int32_t canBackground = 0;
  int32_t immediate = 0;
};

const char NO_REPLY[] = "(no reply)";

// Applies a call of function (1 to 6) with parameter to the settings and
// returns the reply it must give.
std::string ExpectedCall(unsigned function, const std::string& parameter, ExpectedSettings& settings);
