// The names in one folder, as the bytes the file system holds.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

// The names in `folder` that `keep` accepts (every name when it is empty), `.` and `..` included, in byte order;
// nothing (errno set) when the folder cannot be read. A name need not be text: its bytes come as they are.
std::optional<std::vector<std::string>> folderNames(const std::string& folder,
                                                    const std::function<bool(const char*)>& keep = {});
