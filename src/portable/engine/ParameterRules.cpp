#include "portable/engine/ParameterRules.h"

#include "portable/text/NumberText.h"

int32_t ParseLimit(const char* text) {
  int32_t seconds = ParseDecimal(text);
  return seconds > MAX_LIMIT_SECONDS ? MAX_LIMIT_SECONDS : seconds;
}

int ReadSwitch(const ParameterText& parameter) {
  if (!ParameterLengthIsGood(parameter)) return SWITCH_BAD_LENGTH;
  if (parameter.text[0] == '0') return 0;
  if (parameter.text[0] == '1') return 1;
  return SWITCH_UNCHANGED;
}
