// A drawing of the run so far: idle time rising from the user's last input, and
// the commits, the warning, the lock, a refused password and the unlock.
#pragma once

#include <string>

bool SaveTimelineSvg(const std::string& path);
