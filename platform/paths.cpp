// Path text: absolute paths, folder parts and extensions, with `/` as the separator.
#include "platform/paths.h"

#include <algorithm>
#include <string_view>

namespace {

// Appends the components of `text` to an absolute path, resolving `.` and `..` on the text alone.
void appendComponents(std::string& result, std::string_view text)
{
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('/', start), text.size());
        const std::string_view component = text.substr(start, end - start);
        if (component == "..") {
            const std::size_t slash = result.rfind('/');
            result.resize(slash == std::string::npos ? 0 : slash);
        } else if (!component.empty() && component != ".") {
            result += '/';
            result += component;
        }
        start = end + 1;
    }
}

// Whether a path is absolute with no `.`, `..` or empty component, as the current directory mostly is.
bool isNormalAbsolute(std::string_view path)
{
    return path.starts_with('/') && path.find("//") == std::string_view::npos &&
           path.find("/.") == std::string_view::npos;
}

} // namespace

// Built in place: the console resolves every one of thousands of arguments.
std::string fullPath(const std::string& path, const std::string& currentDirectory)
{
    const bool absolute = !path.empty() && path.front() == '/';
    std::string result;
    result.reserve((absolute ? 0 : currentDirectory.size()) + path.size() + 1);
    if (!absolute && isNormalAbsolute(currentDirectory))
        result.append(currentDirectory, 0, currentDirectory.size() - (currentDirectory.ends_with('/') ? 1 : 0));
    else if (!absolute)
        appendComponents(result, currentDirectory);
    appendComponents(result, path);
    if (result.empty() || (!path.empty() && path.back() == '/'))
        result += '/';
    return result;
}

std::string folderPart(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string searchFolder(const std::string& pattern)
{
    std::string path = pattern;
    while (path.size() > 1 && path.ends_with('/'))
        path.pop_back();
    return path == "/" ? path : folderPart(path);
}

std::string namePart(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string withTrailingSlash(const std::string& path)
{
    return !path.empty() && path.back() == '/' ? path : path + '/';
}

std::string changeExtension(const std::string& path, const std::string& extension)
{
    const std::size_t dot = path.rfind('.');
    const std::size_t slash = path.rfind('/');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? path.substr(0, dot) : path) + extension;
}
