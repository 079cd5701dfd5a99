// The arguments that the console tool starts Stampkeep with.
#pragma once

#include "core/commandline.h"

#include <string>
#include <vector>

// The preset switch alone or the switches that rebuild the record's choices, with the options Stampkeep takes, then
// `--` and every specification; each an argument of its own, byte for byte, so that a name holding `"` or a time
// holding a blank arrives whole. Dates and times are written in `formats`.
std::vector<std::string> BuildParameters(const TTouchSettings& settings, const std::vector<std::string>& specs,
                                         const DateTimeFormats& formats, const CommandLineOptions& options = {});
