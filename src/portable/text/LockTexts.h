// Every text that the lock and its notice show, in each language FileMaker Pro
// comes in, and the rules that pick the language and fill in a countdown.
#pragma once

#include <cstddef>
#include <cstdint>

enum class LockLanguage : uint8_t {
  English,
  German,
  French,
  Italian,
  Spanish,
  Dutch,
  Swedish,
  BrazilianPortuguese,
  Japanese,
  SimplifiedChinese,
  Korean,
  Count
};

enum class LockText : uint8_t {
  LoginTitle,
  LoginPrompt,
  PasswordLabel,
  OkButton,
  RefusalMessage,
  RefusalTitle,
  LoginCountdown,    // "{}" stands for the seconds left
  WarningCountdown,  // "{}" stands for the seconds left
  WarningHint,
  NameLabel,         // a shared desk's list of who unlocks
  WorkstationEntry,  // the workstation's own entry in that list
  Count
};

// The language of a Windows language ID, as GetUserDefaultUILanguage answers
// it, by its primary language: every Chinese gets the simplified texts, every
// Portuguese the Brazilian ones. English for any other language and for 0.
LockLanguage LockLanguageOf(uint16_t languageId);

// The text in UTF-8; never null.
const char* LockTextIn(LockLanguage language, LockText text);

// The countdown pattern with the seconds in place of its "{}", NUL-terminated
// into out (size bytes, at least 1), cut short at a character boundary where
// it does not fit. Returns the bytes written, the terminator not counted.
size_t FillCountdown(const char* pattern, int32_t seconds, char* out, size_t size);

// The solution's line as the login shows it: each line break (CR, LF or CR LF,
// as FileMaker and other programs write them) as CR LF, and any other control
// character, C1's (U+0080 to U+009F) among them, as a space. NUL-terminated
// into out (size bytes, at least 1), cut short at a character boundary.
// Returns the bytes written.
size_t LockMessageForDisplay(const char* message, char* out, size_t size);
