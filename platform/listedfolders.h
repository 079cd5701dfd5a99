// The folders in which a command line names many entries, each read once so that the rest of its names are found in
// memory.
#pragma once

#include "platform/foldernames.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// A shell hands over every name that `*` matched in a folder; a call of its own to look up each one costs more than
// a stamp change. Once a folder has been asked for enough names to pay for reading it whole, it is read once, and
// its listing answers for the rest. What the listing does not hold (a name made since, or one whose kind the file
// system does not tell) is left to the caller's own lookup, so an answer is never "no such entry".
class ListedFolders
{
public:
    // What `folder`'s listing tells of its entry `name`; nothing while the folder is not read, or where the listing
    // cannot tell. `folder` is the folder's path as it is opened (`./` for the working folder).
    std::optional<NameKind> kindOf(const std::string& folder, const std::string& name);

private:
    // One folder's names in one block of text, found by their hash: a listing of many thousand names stays in a few
    // compact arrays, where a node for each name would cost a cache miss at every step.
    class Listing
    {
    public:
        void add(std::string_view name, NameKind kind);
        std::optional<NameKind> find(std::string_view name) const;

    private:
        struct Entry
        {
            std::uint32_t offset;
            std::uint32_t length;
            std::uint32_t hash;
            NameKind kind;
        };

        void place(std::uint32_t index);

        std::string text_;
        std::vector<Entry> entries_;
        std::vector<std::uint32_t> slots_; // an index of entries_ plus one, 0 for a free slot; a power of two long
    };

    struct Folder
    {
        std::size_t asked = 0;
        std::size_t readAfter = 0;
        std::optional<Listing> listing; // once read
    };

    std::unordered_map<std::string, Folder> folders_;
};
