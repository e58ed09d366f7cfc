// The vocabulary of brace groups, sorted by name without regard to case: the
// lookup is a binary search.
#include <strings.h>

#include "portable/keys/SendKeys.h"

// clang-format off
const KeyName KEY_NAMES[KEY_NAME_COUNT] = {
    {"ADD", 0x6B, 0},        {"APPS", 0x5D, 0},       {"AT", 0x40, 1},
    {"BACKSPACE", 0x08, 0},  {"BKSP", 0x08, 0},       {"BREAK", 0x03, 0},
    {"BS", 0x08, 0},         {"CAPSLOCK", 0x14, 0},   {"CARET", 0x5E, 1},
    {"CLEAR", 0x0C, 0},      {"DECIMAL", 0x6E, 0},    {"DEL", 0x2E, 0},
    {"DELETE", 0x2E, 0},     {"DIVIDE", 0x6F, 0},     {"DOWN", 0x28, 0},
    {"END", 0x23, 0},        {"ENTER", 0x0D, 0},      {"ESC", 0x1B, 0},
    {"ESCAPE", 0x1B, 0},     {"F1", 0x70, 0},         {"F10", 0x79, 0},
    {"F11", 0x7A, 0},        {"F12", 0x7B, 0},        {"F13", 0x7C, 0},
    {"F14", 0x7D, 0},        {"F15", 0x7E, 0},        {"F16", 0x7F, 0},
    {"F2", 0x71, 0},         {"F3", 0x72, 0},         {"F4", 0x73, 0},
    {"F5", 0x74, 0},         {"F6", 0x75, 0},         {"F7", 0x76, 0},
    {"F8", 0x77, 0},         {"F9", 0x78, 0},         {"HELP", 0x2F, 0},
    {"HOME", 0x24, 0},       {"INS", 0x2D, 0},        {"LEFT", 0x25, 0},
    {"LEFTBRACE", 0x7B, 1},  {"LEFTPAREN", 0x28, 1},  {"LWIN", 0x5B, 0},
    {"MULTIPLY", 0x6A, 0},   {"NUMLOCK", 0x90, 0},    {"NUMPAD0", 0x60, 0},
    {"NUMPAD1", 0x61, 0},    {"NUMPAD2", 0x62, 0},    {"NUMPAD3", 0x63, 0},
    {"NUMPAD4", 0x64, 0},    {"NUMPAD5", 0x65, 0},    {"NUMPAD6", 0x66, 0},
    {"NUMPAD7", 0x67, 0},    {"NUMPAD8", 0x68, 0},    {"NUMPAD9", 0x69, 0},
    {"PERCENT", 0x25, 1},    {"PGDN", 0x22, 0},       {"PGUP", 0x21, 0},
    {"PLUS", 0x2B, 1},       {"PRTSC", 0x2A, 0},      {"RIGHT", 0x27, 0},
    {"RIGHTBRACE", 0x7D, 1}, {"RIGHTPAREN", 0x29, 1}, {"RWIN", 0x5C, 0},
    {"SCROLL", 0x91, 0},     {"SEPARATOR", 0x6C, 0},  {"SNAPSHOT", 0x2C, 0},
    {"SUBTRACT", 0x6D, 0},   {"TAB", 0x09, 0},        {"TILDE", 0x7E, 1},
    {"UP", 0x26, 0},         {"WIN", 0x5B, 0},
};
// clang-format on

uint16_t FindKeyName(const char* name, int& index) {
  int low = 0;
  int high = KEY_NAME_COUNT - 1;
  while (low <= high) {
    int mid = (low + high) / 2;
    int order = strcasecmp(name, KEY_NAMES[mid].name);
    if (order == 0) {
      index = mid;
      return KEY_NAMES[mid].vkey;
    }
    if (order < 0)
      high = mid - 1;
    else
      low = mid + 1;
  }
  index = -1;
  return NO_KEY;
}
