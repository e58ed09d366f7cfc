// The status line that Lulx-Status answers: settings and state as one line of
// name=value pairs that a calculation can take apart. Never the password.
#pragma once

#include <cstddef>

#include "portable/engine/GuardState.h"
#include "portable/engine/IdleEngine.h"

// Longest status line, with its terminator.
const size_t STATUS_TEXT_SIZE = 224;

// modern: ends with ";scripterror=N", what FileMaker answered the last start of
// the event script (0: it took it), and ";password=none|plain|digest", what
// unlocks the lock, then ";users=N" and, once FileMaker has said whether the
// last typed commit closed the record, ";committed=1" or ";committed=0", and
// ";withwindows=1" while FileMaker locks with Windows: FileMaker 7 and later
// only. While Windows holds the keyboard (its lock screen, a disconnected
// session) it ends with ";windows=locked".
// The idle seconds are those given, as of the call (IdleFiguresAt).
void FormatStatus(const GuardState& state, const IdleFigures& idle, char* text, size_t size, bool modern);
