// Saves the whole screen as a PNG file.
#pragma once

#include <string>

bool SaveScreenshot(const std::string& path);
