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
  int32_t lockWarning = 0;
};

const char NO_REPLY[] = "(no reply)";
// What ExpectedCall answers for a status line: ReplyAsExpected checks it.
const char STATUS_REPLY[] = "(a status line)";

// The functions that hostile parameters are tried on: all but Lulx-LockNow,
// whose lock would wait for a password.
const unsigned TRIED_FUNCTIONS[] = {1, 2, 3, 4, 5, 6, 8, 9};

// Applies a call of function with parameter to the settings and returns the
// reply it must give.
std::string ExpectedCall(unsigned function, const std::string& parameter, ExpectedSettings& settings);

// Whether reply is the one expected, given the settings after the call.
bool ReplyAsExpected(const std::string& reply, const std::string& expected, const ExpectedSettings& settings);
