#include "ScriptStep.h"

#include <cstdlib>

std::string Unescape(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x') {
      out += static_cast<char>(std::strtol(text.substr(i + 2, 2).c_str(), nullptr, 16));
      i += 3;
    } else {
      out += text[i];
    }
  }
  return out;
}

void SplitFirst(const std::string& text, std::string& first, std::string& rest) {
  size_t space = text.find(' ');
  first = text.substr(0, space);
  rest = space == std::string::npos ? "" : text.substr(space + 1);
}
