// The app-path registration: where the installation put Stampkeep.
#include "platform/apppath.h"

#include "platform/programfiles.h"

#include <fstream>

namespace {

constexpr const char* kRegistration = "/stampkeep/app-path";
constexpr const char* kSystemRegistration = "/etc/stampkeep/app-path";

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
