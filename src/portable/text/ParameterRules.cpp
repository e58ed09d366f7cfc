#include "portable/text/ParameterRules.h"

#include "portable/text/HostText.h"
#include "portable/text/MacRomanText.h"
#include "portable/text/NumberText.h"

int32_t ParseLimit(const char* text) {
  int32_t seconds = ParseDecimal(text);
  return seconds > MAX_LIMIT_SECONDS ? MAX_LIMIT_SECONDS : seconds;
}

bool ReadPassword(const HostCallbacks& host, FMHandle parameter, char* password) {
  if (!ReadParameterText(host, parameter, password)) return false;
  ConvertMacRomanToWindows(password);
  return true;
}

bool ReadLimit(const HostCallbacks& host, FMHandle parameter, int32_t& seconds) {
  char text[PARAMETER_BUFFER_SIZE];
  if (!ReadParameterText(host, parameter, text)) return false;
  seconds = ParseLimit(text);
  return true;
}

int ReadSwitch(const HostCallbacks& host, FMHandle parameter) {
  if (!ParameterLengthIsGood(host.handleSizeProc(parameter))) return SWITCH_BAD_LENGTH;
  unsigned char first = (*parameter)[0];
  if (first == '0') return 0;
  if (first == '1') return 1;
  return SWITCH_UNCHANGED;
}
