// The recorded-date readers as a plugin, loaded the first time a run asks for a recorded date.
#include "core/mediaplugin.h"

#include "platform/pluginlibrary.h"
#include "platform/programfiles.h"

MediaPluginReader::MediaPluginReader(int (*stopSignal)(), std::string pluginPath)
    : pluginPath_(std::move(pluginPath)), stopSignal_(stopSignal)
{
}

MediaPluginReader::~MediaPluginReader() = default;

std::optional<FileTime> MediaPluginReader::recordedDate(int fd, const std::string& path)
{
    RecordedDateReader* reader = loadedReader();
    return reader ? reader->recordedDate(fd, path) : std::nullopt;
}

std::string MediaPluginReader::unavailableReason() const
{
    if (triedLoading_ && !reader_)
        return "Cannot read recorded dates: " + library_->failure();
    return {};
}

RecordedDateReader* MediaPluginReader::loadedReader()
{
    if (triedLoading_)
        return reader_;
    triedLoading_ = true;
    // Looked for only now: a run that reads no date spends nothing on it.
    if (pluginPath_.empty())
        pluginPath_ = mediaPluginPath(runningProgramPath());
    library_ = std::make_unique<PluginLibrary>(pluginPath_);
    if (auto factory = reinterpret_cast<MediaReaderFactory>(library_->symbol(kMediaReaderFactoryName)))
        reader_ = factory(stopSignal_);
    return reader_;
}
