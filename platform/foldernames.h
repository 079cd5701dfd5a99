// The names in one folder, as bytes, with what the folder itself tells of each entry's type.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

// What a folder's listing tells of an entry without a call of its own; Unknown where the file system does not say.
enum class NameKind : unsigned char
{
    Other,
    Folder,
    Link,
    Unknown,
};

struct FolderName
{
    std::string name;
    NameKind kind;
};

// Hands each name of the open folder `folderDescriptor` to `take` with its kind, `.` and `..` included, in the order
// the folder keeps them; false (errno set) when it cannot be read. The descriptor stays open.
bool readFolderEntries(int folderDescriptor, const std::function<void(const char* name, NameKind kind)>& take);
// The same of the folder at a path.
bool readFolderEntries(const std::string& folder, const std::function<void(const char* name, NameKind kind)>& take);
// The names of the open folder `folderDescriptor` that `keep` accepts (every name when it is empty), `.` and `..`
// included, in byte order; nothing (errno set) when it cannot be read. The descriptor stays open. A name need not be
// text: its bytes come as they are.
std::optional<std::vector<FolderName>> folderEntries(int folderDescriptor,
                                                     const std::function<bool(const char*)>& keep = {});
// The same names of the folder at a path.
std::optional<std::vector<std::string>> folderNames(const std::string& folder,
                                                    const std::function<bool(const char*)>& keep = {});
