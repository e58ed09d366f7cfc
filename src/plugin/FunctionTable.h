// The one table of the external functions: their numbers, their names under
// each host interface, what the calculation dialog shows, and their rules.
#pragma once

#include <cstddef>

#include "plugin/Functions.h"

struct FunctionEntry {
  FunctionNumber number;
  bool modernOnly;          // FileMaker 7 and later only
  const char* classicName;  // FileMaker Pro 5 and 6 read it from string 144 + number; "" where it does not exist
  const char* modernName;   // FileMaker 7 and later read "-" as a minus sign
  const char* parameters;   // what the calculation dialog shows between the parentheses
  const char* description;  // "type-ahead words|what it does"
  short minimumParameters;
  short maximumParameters;
  FunctionRule rule;  // one parameter at most
  PairRule pairRule;  // two
};

const size_t FUNCTION_COUNT = 15;
extern const FunctionEntry FUNCTIONS[FUNCTION_COUNT];

// Whether a host of this interface has the function.
bool OfferedTo(HostInterface host, const FunctionEntry& function);
// The entry of function number that a host of this interface has, or null.
const FunctionEntry* FindFunction(HostInterface host, unsigned number);
