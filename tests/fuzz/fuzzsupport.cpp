// What the fuzz targets share: a temporary folder of their own, splitting an input into fields or making it a file, and
// stopping on a broken property.
#include "fuzzsupport.h"

#include "platform/descriptor.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kPrefix = "stampkeep-fuzz-";

// A run that found something ends without its destructors; the folders of such runs go when the next run starts.
void removeFoldersOfEndedRuns(const fs::path& base)
{
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(base, error)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with(kPrefix))
            continue;
        const long pid = std::strtol(name.c_str() + kPrefix.size(), nullptr, 10);
        if (pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
            fs::remove_all(entry.path(), error);
    }
}

class OwnFolder
{
public:
    OwnFolder()
    {
        std::error_code error;
        const fs::path base = fs::is_directory("/dev/shm", error) ? fs::path("/dev/shm") : fs::temp_directory_path();
        removeFoldersOfEndedRuns(base);
        path = (base / (std::string(kPrefix) + std::to_string(::getpid()))).string();
        fs::remove_all(path, error);
        if (::mkdir(path.c_str(), 0700) != 0) {
            std::perror("stampkeep fuzz: cannot create a temporary folder");
            std::abort();
        }
    }
    ~OwnFolder()
    {
        std::error_code error;
        fs::remove_all(path, error);
    }

    std::string path;
};

} // namespace

const std::string& fuzzFolder()
{
    static const OwnFolder folder;
    return folder.path;
}

std::string_view asText(const std::uint8_t* data, std::size_t size)
{
    return {reinterpret_cast<const char*>(data), size};
}

std::vector<std::string_view> splitFields(std::string_view input, std::size_t count)
{
    std::vector<std::string_view> fields;
    while (fields.size() + 1 < count) {
        const std::size_t end = input.find('\0');
        fields.push_back(input.substr(0, end));
        input = end == std::string_view::npos ? std::string_view() : input.substr(end + 1);
    }
    fields.push_back(input);
    return fields;
}

void require(bool condition, const char* what)
{
    if (condition)
        return;
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
}

int inputAsFile(const std::uint8_t* data, std::size_t size)
{
    static Descriptor file;
    file = Descriptor(memfd_create("fuzz-input", MFD_CLOEXEC));
    require(static_cast<bool>(file), "a memory file is made");
    require(::write(file.get(), data, size) == static_cast<ssize_t>(size), "the input is written whole");
    return file.get();
}
