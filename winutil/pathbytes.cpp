// Paths that Qt hands over as text or as URLs, turned back into the bytes the file system holds, and back.
#include "winutil/pathbytes.h"

#include "platform/foldernames.h"

#include <QFile>
#include <QMimeData>

#include <algorithm>
#include <map>
#include <optional>
#include <utility>

namespace {

// Folders already read, by their bytes: a selection of many files reads their folder once.
using Listings = std::map<std::string, std::vector<std::string>>;

// The entry of `folder` (its bytes, empty for the current folder) that Qt shows as `name`. A name without
// replacement characters was text all along and has that one spelling.
std::string entryBytes(const std::string& folder, const QString& name, Listings& listings)
{
    const QByteArray plain = QFile::encodeName(name);
    if (!name.contains(QChar::ReplacementCharacter))
        return plain.toStdString();
    const auto [listing, added] = listings.try_emplace(folder);
    if (added)
        listing->second = folderNames(folder.empty() ? "." : folder).value_or(std::vector<std::string>());
    const auto match = std::ranges::find_if(listing->second, [&name](const std::string& entry) {
        return QFile::decodeName(QByteArray::fromStdString(entry)) == name;
    });
    return match != listing->second.end() ? *match : plain.toStdString();
}

// The path of a file on this machine, as bytes; nothing for any other URL.
std::optional<std::string> localFilePath(const QUrl& url)
{
    const QString host = url.host();
    if (url.scheme() != u"file" || !(host.isEmpty() || host == u"localhost"))
        return std::nullopt;
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
}

} // namespace

std::vector<std::string> fileSystemPaths(const QStringList& paths)
{
    Listings listings;
    std::vector<std::string> result;
    result.reserve(static_cast<std::size_t>(paths.size()));
    for (const QString& path : paths) {
        // A path without replacement characters was text all along, every name in it: one encoding gives its bytes.
        if (!path.contains(QChar::ReplacementCharacter)) {
            result.push_back(QFile::encodeName(path).toStdString());
            continue;
        }
        std::string bytes;
        bool first = true;
        for (const QString& name : path.split(u'/')) {
            if (!std::exchange(first, false))
                bytes += '/';
            bytes += entryBytes(bytes, name, listings);
        }
        result.push_back(std::move(bytes));
    }
    return result;
}

std::vector<std::string> droppedLocalFiles(const QMimeData& data)
{
    // One URI a line; a line starting with `#` is a comment. Qt's own drags carry their URLs in the same list.
    std::vector<std::string> paths;
    for (const QByteArray& line : data.data(QStringLiteral("text/uri-list")).split('\n')) {
        const QByteArray uri = line.trimmed();
        if (uri.isEmpty() || uri.startsWith('#'))
            continue;
        if (std::optional<std::string> path = localFilePath(QUrl::fromEncoded(uri)))
            paths.push_back(std::move(*path));
    }
    return paths;
}

QUrl localFileUrl(const std::string& path)
{
    return QUrl::fromEncoded("file://" + QByteArray::fromStdString(path).toPercentEncoding("/"));
}
