// The recorded-date readers as a plugin: loaded the first time a run asks for a recorded date, so that a run that
// reads none never loads the image and video libraries behind them.
#pragma once

#include "core/recordeddate.h"

#include <memory>

class PluginLibrary;

// The plugin's one export: its reader, owned by the plugin for the rest of the process. `stopSignal` tells the reader
// the program's pending stop request (0: none), so that a long read ends when the run is asked to stop.
extern "C" {
using MediaReaderFactory = RecordedDateReader* (*)(int (*stopSignal)());
}
constexpr const char* kMediaReaderFactoryName = "stampkeepMediaReader";

class MediaPluginReader final : public RecordedDateReader
{
public:
    // The plugin at `pluginPath` (by default the one of the running program) is opened on the first date asked for;
    // `stopSignal` is handed to it.
    explicit MediaPluginReader(int (*stopSignal)(), std::string pluginPath = {});
    ~MediaPluginReader() override;

    std::optional<FileTime> recordedDate(int fd, const std::string& path) override;
    std::string unavailableReason() const override;

private:
    RecordedDateReader* loadedReader();

    std::string pluginPath_;
    int (*stopSignal_)();
    bool triedLoading_ = false;
    std::unique_ptr<PluginLibrary> library_;
    RecordedDateReader* reader_ = nullptr;
};
