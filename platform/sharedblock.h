// Named shared memory private to the user, whose first opener holds an exclusive lock on it for its life.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

class SharedBlock
{
public:
    // Opens the block `name` of this user (the user id is appended), creating it with `size` bytes when missing.
    // The opener that takes the lock owns the block until it closes it (and removes it) or dies; a block left by a
    // dead owner is taken over. Nothing when the block cannot be opened; `error` then says why.
    static std::unique_ptr<SharedBlock> openOrCreate(const std::string& name, std::size_t size, std::string& error);
    ~SharedBlock();
    SharedBlock(const SharedBlock&) = delete;
    SharedBlock& operator=(const SharedBlock&) = delete;

    bool isOwner() const { return !ownedName_.empty(); }
    unsigned char* data() const { return data_; }
    std::size_t size() const { return size_; }

    // The name as the system knows it: "/" + name + "." + user id + "." + a short hash of the runtime folder.
    static std::string systemName(const std::string& name);

private:
    SharedBlock(int fd, unsigned char* data, std::size_t size, std::string ownedName);

    int fd_;
    unsigned char* data_;
    std::size_t size_;
    std::string ownedName_; // the system name, kept by the owner only
};
