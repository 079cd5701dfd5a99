// Named shared memory private to the user, whose first opener holds an exclusive lock on it for its life.
#include "platform/sharedblock.h"

#include "platform/runtimefolder.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string failure(const char* what)
{
    return std::string(what) + ": " + std::strerror(errno);
}

// A block that its owner has just created may not have its size yet: give the owner a moment.
bool waitForSize(int fd, std::size_t size, struct stat& st)
{
    for (int attempt = 0; attempt < 100 && static_cast<std::size_t>(st.st_size) < size; ++attempt) {
        usleep(10'000);
        if (fstat(fd, &st) != 0)
            return false;
    }
    return static_cast<std::size_t>(st.st_size) >= size;
}

} // namespace

std::string SharedBlock::systemName(const std::string& name)
{
    // The runtime folder stands for the user's session, to which such names belong; FNV-1a keeps the name short.
    std::string error;
    std::uint32_t hash = 2166136261u;
    for (const char c : runtimeFolder(error).value_or(""))
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08x", hash);
    return "/" + name + "." + std::to_string(getuid()) + "." + hex;
}

std::unique_ptr<SharedBlock> SharedBlock::openOrCreate(const std::string& name, std::size_t size, std::string& error)
{
    const int fd = shm_open(systemName(name).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd < 0) {
        error = failure("cannot open the shared block");
        return nullptr;
    }
    // A block that someone else made, or made readable to others, is not ours to trust.
    struct stat st;
    if (fstat(fd, &st) != 0 || st.st_uid != getuid() || (st.st_mode & 077) != 0) {
        error = "the shared block " + systemName(name) + " belongs to another user or is not private";
        close(fd);
        return nullptr;
    }
    const bool owner = flock(fd, LOCK_EX | LOCK_NB) == 0;
    // The owner sizes the block; a later opener never shrinks or grows a running owner's block.
    if ((owner && ftruncate(fd, static_cast<off_t>(size)) != 0) || (!owner && !waitForSize(fd, size, st))) {
        error = owner ? failure("cannot size the shared block") : "the shared block is not ready yet";
        close(fd);
        return nullptr;
    }
    void* view = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (view == MAP_FAILED) {
        error = failure("cannot map the shared block");
        close(fd);
        return nullptr;
    }
    return std::unique_ptr<SharedBlock>(
        new SharedBlock(fd, static_cast<unsigned char*>(view), size, owner ? systemName(name) : std::string()));
}

SharedBlock::SharedBlock(int fd, unsigned char* data, std::size_t size, std::string ownedName)
    : fd_(fd), data_(data), size_(size), ownedName_(std::move(ownedName))
{
}

SharedBlock::~SharedBlock()
{
    // The owner takes the block with it, so that nothing of this session is left behind.
    if (!ownedName_.empty())
        shm_unlink(ownedName_.c_str());
    munmap(data_, size_);
    close(fd_); // releases the lock
}
