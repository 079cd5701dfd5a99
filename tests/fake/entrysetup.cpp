// Gives a test's entries their stamps and attributes through the current platform, as a touch would, or their raw
// stored value.
#include "fake/entrysetup.h"

#include "platform/dosattrib.h"

#include <sys/xattr.h>

namespace {

std::string firstFailure(const EntryChangeOutcome& outcome)
{
    for (const std::string* reason : {&outcome.openFailure, &outcome.stampsFailure, &outcome.attributesFailure})
        if (!reason->empty())
            return *reason;
    return {};
}

} // namespace

std::string setStamps(const std::string& path, std::optional<FileTime> created, std::optional<FileTime> modified)
{
    EntryChange change;
    change.created = created;
    change.modified = modified;
    return firstFailure(currentPlatform().changeEntry(path, change));
}

std::string setAttributes(const std::string& path, std::uint32_t attrs)
{
    EntryChange change;
    change.attributes = AttributeMasks{0, attrs};
    return firstFailure(currentPlatform().changeEntry(path, change));
}

std::vector<unsigned char> storedValue(const std::string& path)
{
    const ssize_t length = getxattr(path.c_str(), kDosAttribName, nullptr, 0);
    std::vector<unsigned char> value(length < 0 ? 0 : static_cast<std::size_t>(length));
    const ssize_t size = getxattr(path.c_str(), kDosAttribName, value.data(), value.size());
    value.resize(size < 0 ? 0 : static_cast<std::size_t>(size));
    return value;
}

bool storeValue(const std::string& path, const std::vector<unsigned char>& value)
{
    return setxattr(path.c_str(), kDosAttribName, value.data(), value.size(), 0) == 0;
}
