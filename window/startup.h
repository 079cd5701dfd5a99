// What a start of Stampkeep does with its command line before any window exists: help, parse, hand over or run.
#pragma once

#include "core/sharedu.h"

#include <memory>
#include <string>
#include <vector>

class SharedBlock;

class StartUp
{
public:
    StartUp();
    ~StartUp();

    // "/?", "-?" or "--help" first: the help box is shown and the start has nothing more to do.
    static bool showHelpIfAsked(const std::vector<std::string>& arguments);
    // The command line parsed in window mode; a start with any bad switch hands over nothing (defaults).
    static TTouchSettings parseArguments(const std::vector<std::string>& arguments, const std::string& iniFileName);

    // Puts `settings` into the hand-off block. True when another instance runs: it has the record and was woken,
    // and this start ends. False when this start is to run: record() then holds its command line.
    bool handOver(const TTouchSettings& settings);
    // The block as this instance reads it: the shared one, or a private copy when the block is unavailable.
    TTouchSettings& record();
    bool hasSharedBlock() const { return block != nullptr; }
    // What a later start finds at offsets 0 and 4: this process and its main window.
    void storeHandles(std::uint32_t processId, std::uint32_t windowId);

private:
    std::unique_ptr<SharedBlock> block;
    TTouchSettings ownRecord{};
};
