// The arguments that the console tool starts Stampkeep with.
#include "console/parameters.h"

std::vector<std::string> BuildParameters(const TTouchSettings& settings, const std::vector<std::string>& specs,
                                         const DateTimeFormats& formats, const CommandLineOptions& options)
{
    std::vector<std::string> arguments = rebuiltSwitches(settings, options, formats);
    // After `--` a name that begins with `-` or looks like a switch arrives as a name.
    if (!specs.empty()) {
        arguments.emplace_back("--");
        arguments.insert(arguments.end(), specs.begin(), specs.end());
    }
    return arguments;
}
