// The process-wide choice between the real platform and one installed by a test.
#include "platform/platform.h"

#include "platform/systemplatform.h"

namespace {

Platform*& installedPlatform()
{
    static Platform* installed = nullptr;
    return installed;
}

} // namespace

Platform& currentPlatform()
{
    static SystemPlatform system;
    Platform* installed = installedPlatform();
    return installed ? *installed : system;
}

void setCurrentPlatform(Platform* platform)
{
    installedPlatform() = platform;
}
