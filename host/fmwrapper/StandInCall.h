// Calls a function registered with the stand-in's FMWrapper.dll the way
// today's FileMaker calls it from a calculation: an argument vector holding
// the parameter as UTF-16 text (or none), a fresh result, the callback.
#pragma once

#include <cstdint>
#include <string>

#include "StandInRegistry.h"

struct StandInReply {
  int16_t status;     // what the callback returned
  bool given;         // whether the function gave the result a value
  std::wstring text;  // that value
};

StandInReply CallRegistered(const RegisteredFunction& function, const std::wstring* argument);
