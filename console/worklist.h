// The console tool's work list: the matched entries, kept compact, sorted without regard to case, free of duplicates.
#pragma once

#include "core/touchedfile.h"
#include "platform/paths.h"

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class WorkList
{
public:
    WorkList()
        : currentDirectory_(currentPlatform().currentDirectory()),
          workingFolderPrefix_(withTrailingSlash(currentDirectory_))
    {
    }

    // Adds every entry that `spec` matches (expanded against the current directory), `.` and `..` skipped, read
    // without its stored attributes. Answers whether the search found anything, and if not why, as the parser's check
    // asks.
    SearchOutcome ExpandSpec(const std::string& spec);
    // The same for a specification already made a full path, each entry read as far as `detail` asks.
    SearchOutcome expandFullPath(const std::string& pattern, EntryDetail detail = EntryDetail::ModeAndTimes);
    // The same in the pattern's folder and every folder below it; folders left out are told to `reportLine`.
    SearchOutcome expandTree(const std::string& pattern, EntryDetail detail,
                             const std::function<void(const std::string&)>& reportLine);
    // Sorts by the locale's collation without regard to case and drops repeated paths; call once after expanding.
    void finish();

    // The finished list, by position.
    std::size_t size() const { return order_.size(); }
    std::string_view path(std::size_t position) const { return pathOf(order_[position]); }
    bool isSymbolicLink(std::size_t position) const { return listed_[order_[position]].symbolicLink; }
    // The entry as a file to touch, with its stored attributes and creation time read when asked.
    TouchedFile entry(std::size_t position, bool withStoredAttributes) const;
    // Folders of the walks that could not be searched or lie on a refused drive.
    std::size_t foldersLeftOut() const { return foldersLeftOut_; }

private:
    // One listed entry: its path (and a named link's target right after it) in the text store, and what the search
    // read. A long walk lists many of these, so they hold no string of their own.
    struct Listed
    {
        std::uint32_t chunk;
        std::uint32_t offset;
        std::uint32_t pathLength;
        std::uint32_t targetLength;
        FileTime modified;
        FileTime created;
        std::uint32_t attrs;
        bool symbolicLink;
    };

    void add(std::string_view folder, const FileEntry& found);
    std::string_view pathOf(std::uint32_t index) const;

    std::string currentDirectory_;
    // The working folder with its trailing `/`: full paths that begin with it are reached from it. This process never
    // changes its working folder.
    std::string workingFolderPrefix_;
    // Texts in chunks that never move, so that growing the store never copies what it holds.
    std::vector<std::unique_ptr<char[]>> chunks_;
    std::size_t chunkUsed_ = 0;
    std::size_t chunkSize_ = 0;
    std::deque<Listed> listed_;
    std::vector<std::uint32_t> order_;
    std::size_t foldersLeftOut_ = 0;
};
