// The one table of the external functions: their numbers, their names under
// each host interface, what the calculation dialog shows, and their rules.
#pragma once

#include <cstddef>

#include "plugin/Functions.h"

struct FunctionEntry {
  FunctionNumber number;
  const char* classicName;  // FileMaker Pro 5 and 6 read it from string 144 + number
  const char* modernName;   // today's FileMaker reads "-" as a minus sign
  const char* parameters;   // what the calculation dialog shows between the parentheses
  const char* description;  // "type-ahead words|what it does"
  short minimumParameters;
  short maximumParameters;
  FunctionRule rule;
};

const size_t FUNCTION_COUNT = 9;
extern const FunctionEntry FUNCTIONS[FUNCTION_COUNT];

// The entry of function number, or null.
const FunctionEntry* FindFunction(unsigned number);
