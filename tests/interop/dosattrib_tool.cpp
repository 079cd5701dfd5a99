// Sets an entry's attributes and creation time through the real platform, for checks by other programs (Samba).
#include "platform/filetime.h"
#include "platform/systemplatform.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: dosattrib_tool set PATH ATTRS_HEX CREATE_UNIX_SECONDS\n");
    return 2;
}

int fail(const char* what, SystemPlatform& platform)
{
    std::fprintf(stderr, "dosattrib_tool: %s: %s\n", what, platform.lastErrorText().c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 5 || std::string(argv[1]) != "set")
        return usage();
    const std::string path = argv[2];
    char* end = nullptr;
    const unsigned long attrs = std::strtoul(argv[3], &end, 16);
    if (*end != '\0')
        return usage();
    const long long seconds = std::strtoll(argv[4], &end, 10);
    if (*end != '\0')
        return usage();

    SystemPlatform platform;
    // Stamps first and attributes last, as a touch does: a read-only entry is then set read-only at the end.
    const std::unique_ptr<StampHandle> handle = platform.openForStamps(path);
    if (!handle)
        return fail("open", platform);
    if (!handle->setTimes(fileTimeFromTimespec({static_cast<time_t>(seconds), 0}), std::nullopt))
        return fail("set creation time", platform);
    if (!platform.setAttributes(path, static_cast<std::uint32_t>(attrs)))
        return fail("set attributes", platform);
    return 0;
}
