// libFuzzer target: today's FileMaker's parameter path. The input is the
// argument FileMaker hands over: a first byte of flags (no argument, a failing
// host, a size that lies), then UTF-16 units. What is read must be valid UTF-8
// within the plug-in's room, readable exactly when the text has at most 254
// characters, and never read past what FileMaker said it has.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "portable/modern/ModernParameter.h"
#include "portable/text/UnicodeText.h"

namespace {

struct FakeArgument {
  std::vector<uint16_t> units;
  uint32_t claimedSize;
  bool failing;
  bool present;
};

FakeArgument g_argument;

uint32_t VectorSize(const void*, FMError*) { return g_argument.present ? 1 : 0; }

const void* VectorTextAt(const void*, uint32_t index, FMError* error) {
  if (index != 0 || !g_argument.present) std::abort();
  if (g_argument.failing) error->code = 2;
  return &g_argument;
}

uint32_t TextSize(const void*, FMError*) { return g_argument.claimedSize; }

void TextUnits(const void*, uint16_t* units, uint32_t position, uint32_t count, FMError*) {
  if (position != 0 || count > g_argument.claimedSize) std::abort();
  for (uint32_t i = 0; i < count; ++i) units[i] = i < g_argument.units.size() ? g_argument.units[i] : 0;
}

bool IsValidUtf8(const char* text) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
  while (*p) {
    int follow = *p < 0x80 ? 0 : (*p >> 5) == 6 ? 1 : (*p >> 4) == 14 ? 2 : (*p >> 3) == 30 ? 3 : -1;
    if (follow < 0) return false;
    ++p;
    for (int i = 0; i < follow; ++i, ++p)
      if ((*p & 0xC0) != 0x80) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  uint8_t flags = data[0];
  g_argument.units.clear();
  for (size_t i = 1; i + 1 < size; i += 2)
    g_argument.units.push_back(static_cast<uint16_t>(data[i] | data[i + 1] << 8));
  g_argument.present = (flags & 1) == 0;
  g_argument.failing = (flags & 2) != 0;
  uint32_t actual = static_cast<uint32_t>(g_argument.units.size());
  g_argument.claimedSize = (flags & 4) ? actual + (flags >> 3) : actual;

  FMTextReading fm = {VectorSize, VectorTextAt, TextSize, TextUnits};
  char text[PARAMETER_TEXT_SIZE + 1];
  text[PARAMETER_TEXT_SIZE] = 'g';  // a guard byte past the room
  ParameterText p = ReadModernParameter(fm, nullptr, 0, text);

  if (text[PARAMETER_TEXT_SIZE] != 'g') std::abort();
  if (!IsValidUtf8(p.text) || std::strlen(p.text) >= PARAMETER_TEXT_SIZE) std::abort();
  if (!g_argument.present && !(p.readable && p.empty)) std::abort();
  if (g_argument.present && g_argument.failing && p.readable) std::abort();
  if (g_argument.present && !g_argument.failing && g_argument.claimedSize == actual) {
    std::vector<char16_t> units(g_argument.units.begin(), g_argument.units.end());
    bool fits = CountCharacters(units.data(), units.size()) <= static_cast<size_t>(MAX_PARAMETER_LENGTH);
    if (p.readable != fits) std::abort();
    if (p.readable && p.empty != units.empty()) std::abort();
  }
  if (!p.readable && p.text[0] != '\0') std::abort();
  return 0;
}
