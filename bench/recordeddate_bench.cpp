// Reads the recorded date of every file named, as a touch would before stamping it, for bench/recordeddate_bench.sh.
#include "core/mediaplugin.h"
#include "platform/descriptor.h"
#include "platform/interruption.h"

#include <cstdio>
#include <fcntl.h>

int main(int argc, char** argv)
{
    // The plugin beside this program, loaded on the first date as in stkcli.
    MediaPluginReader reader(interruptionSignal);
    setRecordedDateReader(&reader);
    int dated = 0;
    for (int i = 1; i < argc; ++i) {
        const Descriptor fd(::open(argv[i], O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        if (fd && readRecordedDate(fd.get(), argv[i]))
            ++dated;
    }
    // Tells the script that the dates were really read.
    std::printf("%d\n", dated);
    return 0;
}
