// The media plugin's one export: the recorded-date reader the programs load when a run first needs a date.
#include "core/mediaplugin.h"
#include "media/mediadatereader.h"

#include <type_traits>

extern "C" __attribute__((visibility("default"))) RecordedDateReader* stampkeepMediaReader(int (*stopSignal)())
{
    static MediaDateReader reader(stopSignal);
    return &reader;
}

// The export keeps the signature the programs call it by.
static_assert(std::is_same_v<decltype(&stampkeepMediaReader), MediaReaderFactory>);
