// The names in one folder, as the bytes the file system holds.
#include "platform/foldernames.h"

#include <algorithm>
#include <dirent.h>
#include <memory>

std::optional<std::vector<std::string>> folderNames(const std::string& folder,
                                                    const std::function<bool(const char*)>& keep)
{
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
    if (!dir)
        return std::nullopt;
    std::vector<std::string> names;
    while (const dirent* entry = readdir(dir.get())) {
        if (!keep || keep(entry->d_name))
            names.emplace_back(entry->d_name);
    }
    std::ranges::sort(names);
    return names;
}
