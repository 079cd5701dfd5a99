// The app-path registration: where the installation put Stampkeep.
#include "platform/apppath.h"

#include <cstdlib>
#include <fstream>

namespace {

constexpr const char* kRegistration = "/stampkeep/app-path";
constexpr const char* kSystemRegistration = "/etc/stampkeep/app-path";

// Relative values of the variables are ignored, as the XDG base directory rules ask.
std::optional<std::string> userConfigFolder()
{
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/')
        return std::string(config);
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/')
        return std::string(home) + "/.config";
    return std::nullopt;
}

// The first line without its line end; nothing when the file cannot be read or the line is empty.
std::optional<std::string> firstLineOf(const std::string& file)
{
    std::ifstream stream(file);
    std::string line;
    if (!stream || !std::getline(stream, line))
        return std::nullopt;
    if (line.ends_with('\r'))
        line.pop_back();
    if (line.empty())
        return std::nullopt;
    return line;
}

} // namespace

std::optional<std::string> readAppPathRegistration()
{
    if (const std::optional<std::string> folder = userConfigFolder()) {
        if (std::optional<std::string> path = firstLineOf(*folder + kRegistration))
            return path;
    }
    return firstLineOf(kSystemRegistration);
}
