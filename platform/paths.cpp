// Path text: absolute paths, folder parts and extensions, with `/` as the separator.
#include "platform/paths.h"

#include <string_view>
#include <vector>

std::string FullPath(const std::string& path, const std::string& currentDirectory)
{
    const std::string joined = !path.empty() && path.front() == '/' ? path : currentDirectory + "/" + path;
    std::vector<std::string_view> components;
    const std::string_view text(joined);
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('/', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view component = text.substr(start, end - start);
        if (component == "..") {
            if (!components.empty())
                components.pop_back();
        } else if (!component.empty() && component != ".") {
            components.push_back(component);
        }
        start = end + 1;
    }

    std::string result;
    for (const std::string_view component : components) {
        result += '/';
        result += component;
    }
    if (result.empty() || (!path.empty() && path.back() == '/'))
        result += '/';
    return result;
}

std::string FolderPart(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string NamePart(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string WithTrailingSlash(const std::string& path)
{
    return !path.empty() && path.back() == '/' ? path : path + '/';
}

std::string ChangeExtension(const std::string& path, const std::string& extension)
{
    const std::size_t dot = path.rfind('.');
    const std::size_t slash = path.rfind('/');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? path.substr(0, dot) : path) + extension;
}
