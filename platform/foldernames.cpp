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

bool readFolderEntries(int folderDescriptor, const std::function<void(const char* name, NameKind kind)>& take)
{
    // The listing reads through a descriptor of its own, so that the caller's stays open and at its start.
    const int own = fcntl(folderDescriptor, F_DUPFD_CLOEXEC, 0);
    if (own < 0)
        return false;
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(fdopendir(own), closedir);
    if (!dir) {
        close(own);
        return false;
    }
    rewinddir(dir.get());
    while (const dirent* entry = readdir(dir.get()))
        take(entry->d_name, kindOf(entry->d_type));
    return true;
}

bool readFolderEntries(const std::string& folder, const std::function<void(const char* name, NameKind kind)>& take)
{
    const Descriptor descriptor(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return descriptor && readFolderEntries(descriptor.get(), take);
}

std::optional<std::vector<FolderName>> folderEntries(int folderDescriptor, const std::function<bool(const char*)>& keep)
{
    std::vector<FolderName> names;
    const bool read = readFolderEntries(folderDescriptor, [&](const char* name, NameKind kind) {
        if (!keep || keep(name))
            names.push_back({name, kind});
    });
    if (!read)
        return std::nullopt;
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
