// Shortening a path from the left, folder by folder, until it fits a width.
#include "winutil/pathfit.h"

#include <QFontMetrics>

namespace {

const QString kMarker = QStringLiteral(".../");
const QString kRootedMarker = QStringLiteral("/.../");

} // namespace

QString FitPathToWidth(const QString& path, const QFontMetrics& metrics, int maxWidth)
{
    const qsizetype nameStart = path.lastIndexOf(u'/') + 1;
    QString folder = path.left(nameStart);
    const QString name = path.mid(nameStart);
    QString result = path;
    while (!folder.isEmpty() && metrics.horizontalAdvance(result) > maxWidth) {
        if (folder == kRootedMarker)
            folder = kMarker;
        else
            DropFirstFolder(folder);
        result = folder + name;
    }
    return result;
}

void DropFirstFolder(QString& folder)
{
    if (folder == QStringLiteral("/")) {
        folder.clear();
        return;
    }
    const bool rooted = folder.startsWith(u'/');
    if (rooted)
        folder.remove(0, 1);
    // Only the marker itself is taken off: a hidden folder's name starts with a dot as well.
    if (folder.startsWith(kMarker))
        folder.remove(0, kMarker.size());
    const qsizetype slash = folder.indexOf(u'/');
    folder = slash < 0 ? QString() : kMarker + folder.mid(slash + 1);
    if (rooted)
        folder.prepend(u'/');
}
