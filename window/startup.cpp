// What a start of Stampkeep does with its command line before any window exists: help, parse, hand over or run.
#include "window/startup.h"

#include "core/tfuncs2.h"
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

TTouchSettings StartUp::parseArguments(const std::vector<std::string>& arguments, const std::string& iniFileName)
{
    TTouchSettings settings{};
    InitTouchSettings(settings);
    if (!arguments.empty() && !ParseCommandLine(settings, arguments, IniFile(iniFileName), false))
        InitTouchSettings(settings);
    return settings;
}

bool StartUp::handOver(const TTouchSettings& settings)
{
    std::string error;
    block = SharedBlock::openOrCreate(kHandOffBlockName, sizeof(TTouchSettings), error);
    if (!block)
        std::cerr << "stampkeep: " << error << "; later starts cannot reach this window\n";
    CopyTouchSettings(settings, record());
    if (!block || block->isOwner())
        return false;
    HandOffChannel::notify();
    block.reset();
    return true;
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
