// The command line that the console tool hands to Stampkeep.
#pragma once

#include "core/sharedu.h"

#include <string>
#include <vector>

// Every specification quoted, then the preset switch alone or the switches that rebuild the record's choices.
std::string BuildParameters(const TTouchSettings& settings, const std::vector<std::string>& specs);
