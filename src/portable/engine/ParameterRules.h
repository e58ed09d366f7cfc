// What a function's parameter asks for, decided without touching Windows: the
// length rule, a limit, a switch. Both host interfaces hand the functions their
// parameter in this form; the functions apply what it asks for.
#pragma once

#include <cstddef>
#include <cstdint>

#include "portable/engine/GuardState.h"

// Longest parameter that a function reads, in characters; longer ones are refused.
const int32_t MAX_PARAMETER_LENGTH = 254;
// Room for any readable parameter with its terminator: UTF-8 takes up to four
// bytes a character, Windows text one or two.
const size_t PARAMETER_TEXT_SIZE = 4 * MAX_PARAMETER_LENGTH + 1;
static_assert(PARAMETER_TEXT_SIZE == PASSWORD_SIZE, "every readable password can be kept");
static_assert(PARAMETER_TEXT_SIZE == LOCK_MESSAGE_SIZE, "every readable line can be kept");

const char REPLY_TAKEN[] = "0";
const char REPLY_BAD_LENGTH[] = "$$001$$";
// Windows lacks the cryptography a password digest needs (PBKDF2 in bcrypt.dll, Windows 7 on).
const char REPLY_NO_CRYPTOGRAPHY[] = "$$002$$";

// A parameter as a host interface read it.
struct ParameterText {
  const char* text;  // up to its first NUL, in the interface's text; "" when unreadable
  bool readable;     // at most MAX_PARAMETER_LENGTH characters
  bool empty;        // the host passed no characters at all
};

// Empty or too long: answered "$$001$$" by every function that reads a value.
inline bool ParameterLengthIsGood(const ParameterText& p) { return p.readable && !p.empty; }

// Limits above this would overflow four times themselves in 32 bits.
const int32_t MAX_LIMIT_SECONDS = 536870911;

// A limit in seconds as a number reads; clamped to MAX_LIMIT_SECONDS.
int32_t ParseLimit(const char* text);

const int SWITCH_BAD_LENGTH = -2;  // empty or too long: nothing to look at
const int SWITCH_UNCHANGED = -1;   // a first character other than "0" or "1"
// The switch value that the parameter's first character names: 0, 1, or one of the above.
int ReadSwitch(const ParameterText& parameter);
