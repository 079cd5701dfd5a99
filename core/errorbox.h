// The program's name as every message box's caption spells it, and the plain error box.
#pragma once

#include <string>

inline constexpr const char* kProgramName = "Stampkeep";

// A box captioned with the program's name: the text, an error icon and OK.
void showErrorBox(const std::string& text);
