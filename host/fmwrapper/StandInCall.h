// Calls a function registered with the stand-in's FMWrapper.dll the way
// today's FileMaker calls it from a calculation: an argument vector holding
// the parameters as UTF-16 text (or none), a fresh result, the callback.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "StandInRegistry.h"

// The status of a 32-bit function that did not take its arguments off the
// stack, as FileMaker's __stdcall call expects.
const int16_t STANDIN_WRONG_CONVENTION = -32768;

struct StandInReply {
  int16_t status;     // what the callback returned, or STANDIN_WRONG_CONVENTION
  bool given;         // whether the function gave the result a value
  std::wstring text;  // that value
};

StandInReply CallRegistered(const RegisteredFunction& function, const std::vector<std::wstring>& arguments);
// The text a Data holds, as a plug-in handed it to the script starter.
std::wstring DataText(const void* data);
