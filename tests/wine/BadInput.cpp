#include "BadInput.h"

#include <cstdlib>
#include <cstring>

#include "plugin/Functions.h"
#include "portable/classic/MacRomanText.h"

std::vector<std::string> BadParameters() {
  std::vector<std::string> out;
  for (size_t size : {0u, 1u, 254u, 255u, 4096u, 1048576u})
    for (char fill : {'7', '1', '0', 'a', '\x8E'}) out.push_back(std::string(size, fill));
  out.push_back(
      std::string("\0"
                  "123",
                  4));
  out.push_back(
      std::string("12\0"
                  "34",
                  5));
  out.push_back(std::string("pass\0word", 9));
  out.push_back(std::string(254, '\0'));
  for (int b = 0; b < 256; ++b) out.push_back(std::string(1, static_cast<char>(b)));
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  out.push_back(all);                 // 256 bytes: too long
  out.push_back(all.substr(1, 254));  // every value but 0 and 255
  out.push_back(all.substr(128, 128));
  for (const char* n : {"0", "-1", "2147483647", "2147483648", "-2147483649", "99999999999", " +12abc", "536870911",
                        "536870912", "\t\n 42", "-0", "+", "1e9"})
    out.push_back(n);
  return out;
}

namespace {

// The text the plug-in reads: up to the size or the first NUL.
std::string Text(const std::string& parameter) { return std::string(parameter.c_str()); }

int32_t Limit(const std::string& text) {
  long long v = std::strtoll(text.c_str(), nullptr, 10);
  if (v > 536870911) return 536870911;
  if (v < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(v);
}

}  // namespace

std::string ExpectedCall(unsigned function, const std::string& parameter, ExpectedSettings& s) {
  size_t size = parameter.size();
  bool readable = size <= 254;
  bool goodLength = size >= 1 && size <= 254;
  std::string bad = goodLength ? NO_REPLY : "$$001$$";
  switch (function) {
    case FN_SET_WORKSTATION_PASSWORD: {
      if (!readable) return bad;
      std::string password = Text(parameter);
      ConvertMacRomanToWindows(&password[0]);
      s.password = password.c_str();
      return goodLength ? "0" : bad;
    }
    case FN_ACTIVATE_RECORD:
    case FN_ACTIVATE_FILEMAKER: {
      if (!readable) return bad;
      int32_t value = Limit(Text(parameter));
      (function == FN_ACTIVATE_RECORD ? s.recordLimit : s.fileMakerLimit) = value;
      if (value < 1) return NO_REPLY;
      return goodLength ? "0" : bad;
    }
    case FN_CAN_BACKGROUND:
    case FN_RECORD_IMMEDIATELY:
      if (goodLength && (parameter[0] == '0' || parameter[0] == '1'))
        (function == FN_CAN_BACKGROUND ? s.canBackground : s.immediate) = parameter[0] - '0';
      return bad;
    case FN_STATUS:
      return readable ? STATUS_REPLY : "$$001$$";
    case FN_SET_LOCK_WARNING: {
      if (!readable) return bad;
      int32_t value = Limit(Text(parameter));
      s.lockWarning = value < 1 ? 0 : value;
      if (value < 1) return NO_REPLY;
      return goodLength ? "0" : bad;
    }
    default:
      return "Lullex v1.91";
  }
}

bool ReplyAsExpected(const std::string& reply, const std::string& expected, const ExpectedSettings& s) {
  if (expected != STATUS_REPLY) return reply == expected;
  std::string record = "record=" + std::to_string(s.recordLimit < 1 ? 0 : s.recordLimit) + ";";
  std::string warning = ";warning=" + std::to_string(s.lockWarning) + ";";
  std::string background = ";background=" + std::to_string(s.canBackground) + ";";
  return reply.compare(0, record.size(), record) == 0 && reply.find(warning) != std::string::npos &&
         reply.find(background) != std::string::npos;
}
