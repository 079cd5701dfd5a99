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

// Another user's folder, or one others may enter, would let them listen in our place or catch what we write there.
bool isPrivateFolder(const std::string& folder)
{
    struct stat st;
    return lstat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == getuid() && (st.st_mode & 077) == 0;
}

} // namespace

std::optional<std::string> runtimeFolder(std::string& error)
{
    // After `su` or `sudo -E` the variable still names the other user's folder.
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && runtime[0] == '/' && isPrivateFolder(runtime))
        return runtime;
    const std::string folder = temporaryFolder() + "/stampkeep-" + std::to_string(getuid());
    if (mkdir(folder.c_str(), S_IRWXU) != 0 && errno != EEXIST) {
        error = "cannot make " + folder + ": " + std::strerror(errno);
        return std::nullopt;
    }
    // Someone else may have made it first.
    if (!isPrivateFolder(folder)) {
        error = folder + " is not a private folder of this user";
        return std::nullopt;
    }
    return folder;
}
