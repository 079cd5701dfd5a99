// What a start of Stampkeep does with its command line before any window exists: help, parse, hand over or run.
#pragma once

#include "core/datetimeformats.h"
#include "core/handoffmessage.h"

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
    // The command line parsed in window mode, with every specification it accepted and the folder they were found
    // in; a start with any bad switch hands over nothing (defaults).
    static HandOffMessage parseArguments(const std::vector<std::string>& arguments, const std::string& iniFileName,
                                         const DateTimeFormats& formats);

    // Puts the record into the hand-off block and, when another instance runs, hands it the whole message. True
    // when that instance has taken it: this start ends. False when this start is to run a window of its own: as the
    // first instance, or, when the running one cannot be reached (said on standard error), as a window that neither
    // owns nor writes the block.
    bool handOver(const HandOffMessage& message);
    // The block as this instance reads it: the shared one, or a private copy when the block is unavailable.
    TTouchSettings& record();
    bool hasSharedBlock() const { return block != nullptr; }
    // What a later start finds at offsets 0 and 4: this process and its main window.
    void storeHandles(std::uint32_t processId, std::uint32_t windowId);

private:
    std::unique_ptr<SharedBlock> block;
    TTouchSettings ownRecord{};
};
