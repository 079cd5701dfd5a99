// The names in one folder, as bytes, with what the folder itself tells of each entry's type.
#include "platform/foldernames.h"

#include "platform/descriptor.h"

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <memory>

namespace {

NameKind kindOf(unsigned char type)
{
    switch (type) {
    case DT_DIR:
        return NameKind::Folder;
    case DT_LNK:
        return NameKind::Link;
    case DT_UNKNOWN:
        return NameKind::Unknown;
    default:
        return NameKind::Other;
    }
}

} // namespace

std::optional<std::vector<FolderName>> folderEntries(int folderDescriptor, const std::function<bool(const char*)>& keep)
{
    // The listing reads through a descriptor of its own, so that the caller's stays open and at its start.
    const int own = fcntl(folderDescriptor, F_DUPFD_CLOEXEC, 0);
    if (own < 0)
        return std::nullopt;
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(fdopendir(own), closedir);
    if (!dir) {
        close(own);
        return std::nullopt;
    }
    rewinddir(dir.get());
    std::vector<FolderName> names;
    while (const dirent* entry = readdir(dir.get())) {
        if (!keep || keep(entry->d_name))
            names.push_back({entry->d_name, kindOf(entry->d_type)});
    }
    std::ranges::sort(names, {}, &FolderName::name);
    return names;
}

std::optional<std::vector<std::string>> folderNames(const std::string& folder,
                                                    const std::function<bool(const char*)>& keep)
{
    const Descriptor descriptor(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!descriptor)
        return std::nullopt;
    std::optional<std::vector<FolderName>> entries = folderEntries(descriptor.get(), keep);
    if (!entries)
        return std::nullopt;
    std::vector<std::string> names;
    names.reserve(entries->size());
    for (FolderName& entry : *entries)
        names.push_back(std::move(entry.name));
    return names;
}
