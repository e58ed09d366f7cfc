// The key-sequence language: prefixes, parenthesised groups, brace groups with
// key names, counts and the command words VKEY, BEEP, APPACTIVATE and DELAY.
#include <cstring>
#include <strings.h>

#include "Decimal.h"
#include "KeyPort.h"
#include "SendKeys.h"

int32_t m_bShiftDown;
int32_t m_bControlDown;
int32_t m_bAltDown;
int32_t m_bWinDown;
int32_t m_bUsingParens;
int32_t m_bWait;
uint32_t m_nDelayAlways;
uint32_t m_nDelayNow;

namespace {

const int BRACE_BUFFER_SIZE = 300;

bool StartsWith(const char* content, const char* word) {
  return strncasecmp(content, word, std::strlen(word)) == 0;
}

uint32_t DelayValue(const char* text) {
  return static_cast<uint32_t>(ClampInt(ParseDecimal(text), 0, MAX_DELAY_MS));
}

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
    if (keycode == INVALIDKEY) return false;
    SendKey(keycode, 1, 1);
    return true;
  }
  if (StartsWith(content, "BEEP")) {
    Beep(content, length);
    return false;
  }
  if (StartsWith(content, "APPACTIVATE")) {
    PortAppActivate(length > 12 ? content + 12 : "");
    return false;
  }
  if (StartsWith(content, "DELAY")) {
    if (content[5] == '=')
      m_nDelayAlways = DelayValue(content + 6);
    else
      m_nDelayNow = DelayValue(content + 5);
    return false;
  }

  char* space = std::strchr(content, ' ');
  if (space) *space = '\0';
  int index;
  uint16_t vkey = StringToVKey(content, index);
  if (index < 0) return false;
  int32_t count = 1;
  if (space) count = ClampInt(ParseDecimal(space + 1), 0, MAX_KEY_COUNT);
  uint16_t keycode = KeyNames[index].is_char ? PortVkKeyScan(static_cast<char>(vkey)) : vkey;
  if (keycode == INVALIDKEY) return false;
  SendKey(keycode, static_cast<uint16_t>(count), 1);
  return true;
}

// A prefix presses its modifier now and holds it for what follows.
void PressPrefix(int32_t& flag, uint8_t vk) {
  flag = 1;
  SendKeyDown(vk, 1, 0);
}

}  // namespace

void PopUpShiftKeys() {
  if (m_bUsingParens) return;
  if (m_bShiftDown) SendKeyUp(0x10);
  if (m_bControlDown) SendKeyUp(0x11);
  if (m_bAltDown) SendKeyUp(0x12);
  if (m_bWinDown) SendKeyUp(0x5B);
  m_bShiftDown = m_bControlDown = m_bAltDown = m_bWinDown = 0;
}

int SendKeys(const char* text, int wait, HWND__* /*hwnd: keys go to the focus*/) {
  char group[BRACE_BUFFER_SIZE];
  std::memset(group, 0, sizeof group);
  m_bWait = wait;
  m_bUsingParens = m_bAltDown = m_bControlDown = m_bShiftDown = m_bWinDown = 0;

  const char* p = text;
  for (;;) {
    switch (*p) {
      case '\0':
        m_bUsingParens = 0;
        PopUpShiftKeys();
        return 1;
      case '+':
        PressPrefix(m_bShiftDown, 0x10);
        break;
      case '^':
        PressPrefix(m_bControlDown, 0x11);
        break;
      case '%':
        PressPrefix(m_bAltDown, 0x12);
        break;
      case '@':
        PressPrefix(m_bWinDown, 0x5B);
        break;
      case '(':
        m_bUsingParens = 1;
        break;
      case ')':
        m_bUsingParens = 0;
        PopUpShiftKeys();
        break;
      case '~':
        SendKeyDown(0x0D, 1, 1);
        PopUpShiftKeys();
        break;
      case '{': {
        const char* start = p + 1;
        const char* end = start;
        while (*end && *end != '}' && end - start < BRACE_BUFFER_SIZE) ++end;
        size_t length = static_cast<size_t>(end - start);
        if (length >= BRACE_BUFFER_SIZE) {
          m_bUsingParens = 0;
          PopUpShiftKeys();
          return 0;
        }
        std::memcpy(group, start, length);
        group[length] = '\0';
        if (BraceGroup(group, length)) PopUpShiftKeys();
        p = end;
        if (*end == '\0') continue;  // an unclosed group runs to the end of the text
        break;
      }
      default: {
        uint16_t keycode = PortVkKeyScan(*p);
        if (keycode != INVALIDKEY) SendKey(keycode, 1, 1);
        PopUpShiftKeys();
        break;
      }
    }
    ++p;
  }
}
