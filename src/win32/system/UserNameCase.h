// Names of the people at a shared desk, compared as Windows compares them
// without regard to case, in any script.
#pragma once

// Whether a and b (UTF-8) are one name but for case.
bool SameUserName(const char* a, const char* b);
