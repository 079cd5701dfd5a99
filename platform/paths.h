// Path text: absolute paths, folder parts and extensions, with `/` as the separator.
#pragma once

#include <string>

// Lexically absolute against `currentDirectory`: `.` and `..` folded (`..` above `/` stays at `/`), repeated `/`
// merged, links not resolved. A trailing `/` of `path` is kept; an empty `path` gives the current directory.
std::string fullPath(const std::string& path, const std::string& currentDirectory);
// Everything up to and including the last `/`; empty when there is none.
std::string folderPart(const std::string& path);
// The folder of a search pattern's matches, with its trailing `/`: the pattern's folder part once a trailing `/` of
// the pattern (which names a folder as the match) is set aside; `/` for `/` itself.
std::string searchFolder(const std::string& pattern);
// Everything after the last `/`.
std::string namePart(const std::string& path);
// An empty path becomes `/`, as a lone separator.
std::string withTrailingSlash(const std::string& path);
// The path with the extension of its last component replaced (or added); `extension` includes its dot.
// The extension starts at the last `.` of the last component, so the whole of `.profile` counts as one.
std::string changeExtension(const std::string& path, const std::string& extension);
