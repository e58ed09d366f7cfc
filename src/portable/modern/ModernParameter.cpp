#include "portable/modern/ModernParameter.h"

#include "portable/text/SecretWipe.h"
#include "portable/text/UnicodeText.h"

namespace {

// A character takes one UTF-16 unit or two.
const uint32_t MAX_PARAMETER_UNITS = 2 * MAX_PARAMETER_LENGTH;

}  // namespace

ParameterText ReadModernParameter(const FMTextReading& fm, const void* arguments, uint32_t index, char* text) {
  const ParameterText unreadable = {"", false, false};
  FMError error = NoFMError();
  uint32_t count = fm.vectorSize(arguments, &error);
  if (error.code != 0) return unreadable;
  text[0] = '\0';
  if (count <= index) return {text, true, true};
  const void* argument = fm.vectorTextAt(arguments, index, &error);
  if (error.code != 0 || !argument) return unreadable;
  uint32_t size = fm.textSize(argument, &error);
  if (error.code != 0 || size > MAX_PARAMETER_UNITS) return unreadable;
  // The argument may be a password: its copy here goes once it is converted.
  char16_t units[MAX_PARAMETER_UNITS];
  ParameterText read = {text, true, size == 0};
  if (size > 0) fm.textUnits(argument, reinterpret_cast<uint16_t*>(units), 0, size, &error);
  if (error.code != 0 || CountCharacters(units, size) > static_cast<size_t>(MAX_PARAMETER_LENGTH)) {
    read = unreadable;
  } else {
    size_t length = 0;
    while (length < size && units[length] != 0) ++length;
    Utf16ToUtf8(units, length, text, PARAMETER_TEXT_SIZE);
  }
  WipeSecret(units, size * sizeof units[0]);
  return read;
}
