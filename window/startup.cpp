// What a start of Stampkeep does with its command line before any window exists: help, parse, hand over or run.
#include "window/startup.h"

#include "core/datetimeformats.h"
#include "core/handoffblock.h"
#include "platform/platform.h"
#include "platform/sharedblock.h"
#include "window/handoffchannel.h"

#include <iostream>

StartUp::StartUp() = default;

StartUp::~StartUp() = default;

bool StartUp::showHelpIfAsked(const std::vector<std::string>& arguments)
{
    if (arguments.empty() || !isHelpSwitch(arguments.front()))
        return false;
    ShowSwitchHelp(false);
    return true;
}

HandOffMessage StartUp::parseArguments(const std::vector<std::string>& arguments, const std::string& iniFileName,
                                       const DateTimeFormats& formats)
{
    HandOffMessage message;
    CommandLineOptions options;
    message.workingFolder = currentPlatform().currentDirectory();
    InitTouchSettings(message.record);
    if (!arguments.empty() && !ParseCommandLine(message.record, arguments, IniFile(iniFileName), formats, false,
                                                &message.specs, std::cout, {}, &options)) {
        InitTouchSettings(message.record);
        message.specs.clear();
        options = {};
    }
    message.subfolders = options.subfolders;
    return message;
}

bool StartUp::handOver(const HandOffMessage& message)
{
    std::string error;
    block = SharedBlock::openOrCreate(kHandOffBlockName, sizeof(TTouchSettings), error);
    if (!block)
        std::cerr << "stampkeep: " << error << "; later starts cannot reach this window\n";
    CopyTouchSettings(message.record, record());
    if (!block || block->isOwner())
        return false;
    block.reset();
    QString why;
    if (HandOffChannel::deliver(message, why))
        return true;
    std::cerr << "stampkeep: cannot reach the running Stampkeep (" << why.toStdString()
              << "); opening a window of its own\n";
    return false;
}

TTouchSettings& StartUp::record()
{
    // The block's start is page-aligned, so the record can be addressed in place.
    return block ? *reinterpret_cast<TTouchSettings*>(block->data()) : ownRecord;
}

void StartUp::storeHandles(std::uint32_t processId, std::uint32_t windowId)
{
    if (!block)
        return;
    record().AppWindow = processId;
    record().MainWindow = windowId != 0 ? windowId : 1;
}
