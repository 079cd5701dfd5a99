// The app-path registration: where the installation put Stampkeep.
#include "platform/apppath.h"

#include "platform/programfiles.h"

#include <fstream>
#include <sys/stat.h>

namespace {

constexpr const char* kRegistration = "/stampkeep/app-path";

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

bool exists(const std::string& path)
{
    struct stat status;
    return stat(path.c_str(), &status) == 0;
}

} // namespace

std::optional<std::string> readAppPathRegistration(const std::string& systemRegistration)
{
    const std::optional<std::string> system = firstLineOf(systemRegistration);
    if (const std::optional<std::string> folder = userConfigFolder()) {
        // A per-user registration left behind by a removed build would otherwise hide a good installation.
        std::optional<std::string> path = firstLineOf(*folder + kRegistration);
        if (path && (!system || exists(*path)))
            return path;
    }
    return system;
}
