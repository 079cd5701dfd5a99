// Path text: absolute paths, folder parts and extensions, with `/` as the separator.
#pragma once

#include <string>

// Lexically absolute against `currentDirectory`: `.` and `..` folded, repeated `/` merged, links not resolved.
std::string FullPath(const std::string& path, const std::string& currentDirectory);
// Everything up to and including the last `/`; empty when there is none.
std::string FolderPart(const std::string& path);
// Everything after the last `/`.
std::string NamePart(const std::string& path);
std::string WithTrailingSlash(const std::string& path);
// The path with the extension of its last component replaced (or added); `extension` includes its dot.
std::string ChangeExtension(const std::string& path, const std::string& extension);
