#include "portable/text/HostText.h"

#include <cstring>

bool ParameterLengthIsGood(int32_t size) { return size >= 1 && size <= MAX_PARAMETER_LENGTH; }

bool ParameterCanBeRead(int32_t size) { return size >= 0 && size <= MAX_PARAMETER_LENGTH; }

bool ReadParameterText(const HostCallbacks& host, FMHandle parameter, char* buffer) {
  int32_t size = host.handleSizeProc(parameter);
  if (!ParameterCanBeRead(size)) return false;
  int32_t i = 0;
  for (; i < size && (*parameter)[i] != 0; ++i) buffer[i] = static_cast<char>((*parameter)[i]);
  buffer[i] = '\0';
  return true;
}

void WriteReply(const HostCallbacks& host, FMHandle result, const char* text) {
  int32_t length = static_cast<int32_t>(std::strlen(text));
  host.resizeHandleProc(result, length);
  if (host.memoryErrorProc() != 0) return;
  std::memcpy(*result, text, static_cast<size_t>(length));
}

void ReplyIfBadLength(const HostCallbacks& host, FMHandle parameter, FMHandle result) {
  if (!ParameterLengthIsGood(host.handleSizeProc(parameter))) WriteReply(host, result, REPLY_BAD_LENGTH);
}
