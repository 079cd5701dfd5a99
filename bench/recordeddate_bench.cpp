// Reads the recorded date of every file named, as a touch would before stamping it, for bench/recordeddate_bench.sh.
#include "media/exifdatereader.h"
#include "platform/descriptor.h"

#include <cstdio>
#include <fcntl.h>

int main(int argc, char** argv)
{
    ExifDateReader reader;
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
