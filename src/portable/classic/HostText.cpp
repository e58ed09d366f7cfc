#include "portable/classic/HostText.h"

#include <cstring>

#include "portable/classic/MacRomanText.h"

ParameterText ReadClassicParameter(const HostCallbacks& host, FMHandle parameter, char* buffer) {
  int32_t size = host.handleSizeProc(parameter);
  if (size < 0 || size > MAX_PARAMETER_LENGTH) return {"", false, false};
  int32_t i = 0;
  for (; i < size && (*parameter)[i] != 0; ++i) buffer[i] = static_cast<char>((*parameter)[i]);
  buffer[i] = '\0';
  // Only the password has letters that matter; digits, signs and spaces are the same in both.
  ConvertMacRomanToWindows(buffer);
  return {buffer, true, size == 0};
}

void WriteReply(const HostCallbacks& host, FMHandle result, const char* text) {
  int32_t length = static_cast<int32_t>(std::strlen(text));
  host.resizeHandleProc(result, length);
  if (host.memoryErrorProc() != 0) return;
  std::memcpy(*result, text, static_cast<size_t>(length));
}
