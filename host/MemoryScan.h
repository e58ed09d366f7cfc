// What the host process's memory still holds: a password typed at the lock
// must leave no copy behind once the login has gone.
#pragma once

#include <string>

// Copies of text, as UTF-16 (the form the login's field keeps it in), in every
// readable page of this process, but for the one this search makes itself.
int CountUtf16CopiesInMemory(const std::string& utf8);
