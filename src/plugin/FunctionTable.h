// The one table of the external functions: their numbers, their names under
// each host interface, what the calculation dialog shows, and their rules.
#pragma once

#include <cstddef>

#include "plugin/Functions.h"

struct FunctionEntry {
  FunctionNumber number;
  bool modernOnly;          // exists in Lullex.fmx64 only
  const char* classicName;  // FileMaker Pro 5 and 6 read it from string 144 + number; "" where it does not exist
  const char* modernName;   // today's FileMaker reads "-" as a minus sign
  const char* parameters;   // what the calculation dialog shows between the parentheses
  const char* description;  // "type-ahead words|what it does"
  short minimumParameters;
  short maximumParameters;
  FunctionRule rule;  // one parameter at most
  PairRule pairRule;  // two
};

const size_t FUNCTION_COUNT = 12;
extern const FunctionEntry FUNCTIONS[FUNCTION_COUNT];

// Whether the function exists in the build this is.
bool InThisBuild(const FunctionEntry& function);
// The entry of function number in this build, or null.
const FunctionEntry* FindFunction(unsigned number);
