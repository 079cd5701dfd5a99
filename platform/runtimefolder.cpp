// The user's runtime folder, where the running Stampkeep can be reached: private to the user and to this session.
#include "platform/runtimefolder.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string temporaryFolder()
{
    const char* tmpdir = std::getenv("TMPDIR");
    return tmpdir && tmpdir[0] == '/' ? tmpdir : "/tmp";
}

} // namespace

std::optional<std::string> runtimeFolder(std::string& error)
{
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && runtime[0] == '/')
        return runtime;
    const std::string folder = temporaryFolder() + "/stampkeep-" + std::to_string(getuid());
    if (mkdir(folder.c_str(), S_IRWXU) != 0 && errno != EEXIST) {
        error = "cannot make " + folder + ": " + std::strerror(errno);
        return std::nullopt;
    }
    // Someone else may have made it first, to listen in our place or to catch what we write there.
    struct stat st;
    if (lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != getuid() || (st.st_mode & 077) != 0) {
        error = folder + " is not a private folder of this user";
        return std::nullopt;
    }
    return folder;
}
