// The key-sequence language: prefixes, parenthesised groups, brace groups with
// key names, counts and the command words VKEY, BEEP, APPACTIVATE and DELAY.
#include <strings.h>

#include <cstring>

#include "portable/keys/KeyPort.h"
#include "portable/keys/SendKeys.h"
#include "portable/text/NumberText.h"

namespace {
KeySequenceState g_keySequence;  // the one key-sequence state; nothing else holds it
}  // namespace

KeySequenceState& CurrentKeySequenceState() { return g_keySequence; }

void ResetKeySequenceState() { g_keySequence = KeySequenceState(); }

namespace {

const int BRACE_BUFFER_SIZE = 300;

bool StartsWith(const char* content, const char* word) { return strncasecmp(content, word, std::strlen(word)) == 0; }

uint32_t DelayValue(const char* text) { return static_cast<uint32_t>(ClampInt(ParseDecimal(text), 0, MAX_DELAY_MS)); }

void Beep(const char* content, size_t length) {
  if (length < 6) return;
  const char* args = content + 5;  // the byte after the word is a separator
  const char* space = std::strchr(args, ' ');
  if (!space) return;
  int32_t frequency = ParseDecimal(args);
  int32_t duration = ParseDecimal(space);
  if (frequency < MIN_BEEP_HZ || frequency > MAX_BEEP_HZ) return;
  if (duration < 0 || duration > MAX_DELAY_MS) return;
  PortBeep(static_cast<uint32_t>(frequency), static_cast<uint32_t>(duration));
}

// Runs one brace group's content (NUL-terminated, length bytes; the buffer may
// be written). Returns true when it sent a key.
bool BraceGroup(char* content, size_t length) {
  if (StartsWith(content, "VKEY")) {
    uint16_t keycode = static_cast<uint16_t>(ParseDecimal(content + 4));
    if (keycode == NO_KEY) return false;
    TypeKeyCode(keycode, 1, 1);
    return true;
  }
  if (StartsWith(content, "BEEP")) {
    Beep(content, length);
    return false;
  }
  if (StartsWith(content, "APPACTIVATE")) {
    PortBringTitledWindowToFront(length > 12 ? content + 12 : "");
    return false;
  }
  if (StartsWith(content, "DELAY")) {
    if (content[5] == '=')
      CurrentKeySequenceState().delayEveryKeyMs = DelayValue(content + 6);
    else
      CurrentKeySequenceState().delayNextKeyMs = DelayValue(content + 5);
    return false;
  }

  char* space = std::strchr(content, ' ');
  if (space) *space = '\0';
  int index;
  uint16_t vkey = FindKeyName(content, index);
  if (index < 0) return false;
  int32_t count = 1;
  if (space) count = ClampInt(ParseDecimal(space + 1), 0, MAX_KEY_COUNT);
  uint16_t keycode = KEY_NAMES[index].isCharacter ? PortVkKeyScan(static_cast<char>(vkey)) : vkey;
  if (keycode == NO_KEY) return false;
  TypeKeyCode(keycode, static_cast<uint16_t>(count), 1);
  return true;
}

// A prefix presses its modifier now and holds it for what follows.
void PressPrefix(bool& held, uint8_t vk) {
  held = true;
  PressKey(vk, 1, 0);
}

}  // namespace

void ReleasePrefixModifiers() {
  if (CurrentKeySequenceState().inGroup) return;
  if (CurrentKeySequenceState().shiftHeld) ReleaseKey(VK_SHIFT_KEY);
  if (CurrentKeySequenceState().controlHeld) ReleaseKey(VK_CONTROL_KEY);
  if (CurrentKeySequenceState().altHeld) ReleaseKey(VK_MENU_KEY);
  if (CurrentKeySequenceState().windowsHeld) ReleaseKey(VK_LEFT_WINDOWS_KEY);
  KeySequenceState& k = CurrentKeySequenceState();
  k.shiftHeld = k.controlHeld = k.altHeld = k.windowsHeld = false;
}

int SendKeys(const char* text, int wait) {  // the keys go to whichever window has the focus
  char group[BRACE_BUFFER_SIZE];
  std::memset(group, 0, sizeof group);
  KeySequenceState& k = CurrentKeySequenceState();
  k.pumpEachEvent = wait != 0;
  k.inGroup = k.altHeld = k.controlHeld = k.shiftHeld = k.windowsHeld = false;

  const char* p = text;
  for (;;) {
    switch (*p) {
      case '\0':
        CurrentKeySequenceState().inGroup = false;
        ReleasePrefixModifiers();
        return 1;
      case '+':
        PressPrefix(CurrentKeySequenceState().shiftHeld, VK_SHIFT_KEY);
        break;
      case '^':
        PressPrefix(CurrentKeySequenceState().controlHeld, VK_CONTROL_KEY);
        break;
      case '%':
        PressPrefix(CurrentKeySequenceState().altHeld, VK_MENU_KEY);
        break;
      case '@':
        PressPrefix(CurrentKeySequenceState().windowsHeld, VK_LEFT_WINDOWS_KEY);
        break;
      case '(':
        CurrentKeySequenceState().inGroup = true;
        break;
      case ')':
        CurrentKeySequenceState().inGroup = false;
        ReleasePrefixModifiers();
        break;
      case '~':
        PressKey(VK_ENTER_KEY, 1, 1);
        ReleasePrefixModifiers();
        break;
      case '{': {
        const char* start = p + 1;
        const char* end = start;
        while (*end && *end != '}' && end - start < BRACE_BUFFER_SIZE) ++end;
        size_t length = static_cast<size_t>(end - start);
        if (length >= BRACE_BUFFER_SIZE) {
          CurrentKeySequenceState().inGroup = false;
          ReleasePrefixModifiers();
          return 0;
        }
        std::memcpy(group, start, length);
        group[length] = '\0';
        if (BraceGroup(group, length)) ReleasePrefixModifiers();
        p = end;
        if (*end == '\0') continue;  // an unclosed group runs to the end of the text
        break;
      }
      default: {
        uint16_t keycode = PortVkKeyScan(*p);
        if (keycode != NO_KEY) TypeKeyCode(keycode, 1, 1);
        ReleasePrefixModifiers();
        break;
      }
    }
    ++p;
  }
}
