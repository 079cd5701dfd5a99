// Sets an entry's attributes and creation time through the real platform, for checks by other programs (Samba), and
// shows the attributes its stored value holds, for checks of what our programs wrote.
#include "platform/dosattrib.h"
#include "platform/filetime.h"
#include "platform/systemplatform.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/xattr.h>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: dosattrib_tool set PATH ATTRS_HEX CREATE_UNIX_SECONDS\n"
                         "       dosattrib_tool get PATH...\n"
                         "       dosattrib_tool created PATH...\n");
    return 2;
}

int fail(const char* what, const std::string& reason)
{
    std::fprintf(stderr, "dosattrib_tool: %s: %s\n", what, reason.c_str());
    return 1;
}

std::optional<DosAttrib> stored(const std::string& path)
{
    std::array<unsigned char, kMaxDosAttribSize> bytes;
    const ssize_t size = getxattr(path.c_str(), kDosAttribName, bytes.data(), bytes.size());
    return size > 0 ? decodeDosAttrib(std::span(bytes.data(), static_cast<std::size_t>(size))) : std::nullopt;
}

// Prints the stored attributes in hex, or "none" when no value of ours is stored.
void show(const std::string& path)
{
    if (const std::optional<DosAttrib> value = stored(path))
        std::printf("%x\n", value->attrib);
    else
        std::printf("none\n");
}

// Prints the stored creation time in whole seconds since 1970, or "none".
void showCreated(const std::string& path)
{
    const std::optional<DosAttrib> value = stored(path);
    if (value && value->createTime)
        std::printf("%lld\n",
                    static_cast<long long>(*value->createTime / kFileTimeUnitsPerSecond - kUnixEpochInFileTimeSeconds));
    else
        std::printf("none\n");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && (std::string(argv[1]) == "get" || std::string(argv[1]) == "created")) {
        for (int i = 2; i < argc; ++i)
            (std::string(argv[1]) == "get" ? show : showCreated)(argv[i]);
        return 0;
    }
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
    EntryChange change;
    change.created = fileTimeFromTimespec({static_cast<time_t>(seconds), 0});
    change.attributes = AttributeMasks{0, static_cast<std::uint32_t>(attrs)};
    const EntryChangeOutcome outcome = platform.changeEntry(path, change);
    if (!outcome.openFailure.empty())
        return fail("open", outcome.openFailure);
    if (!outcome.stampsFailure.empty())
        return fail("set creation time", outcome.stampsFailure);
    if (!outcome.attributesFailure.empty())
        return fail("set attributes", outcome.attributesFailure);
    return 0;
}
