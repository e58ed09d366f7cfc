// Wiping a copy of a secret (a password, what was typed at the login) once it
// has served, in a way the compiler may not leave out as a dead store.
#pragma once

#include <cstddef>

void WipeSecret(void* bytes, size_t size);
