// A temporary folder for one test, removed with everything in it when the test ends.
#pragma once

#include <string>

class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder's full path, without a trailing `/`.
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

    // Creates a file (and missing folders before it) and returns its full path.
    std::string makeFile(const std::string& name, const std::string& content = "") const;
    std::string makeFolder(const std::string& name) const;

private:
    std::string path_;
};
