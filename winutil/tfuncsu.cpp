#include "winutil/tfuncsu.h"

#include <QAction>
#include <QBitmap>
#include <QFontMetrics>
#include <QPixmap>
#include <QToolButton>

namespace {

constexpr int kGlyphSize = 16;

const QString kMarker = QStringLiteral(".../");
const QString kRootedMarker = QStringLiteral("/.../");

QIcon loadGlyph(int number)
{
    QPixmap pixmap(QStringLiteral(":/resources/glyphs/%1.bmp").arg(number));
    if (pixmap.size() != QSize(kGlyphSize, kGlyphSize)) {
        // Nearest-neighbour scaling keeps the background pure red for the mask.
        pixmap = pixmap.scaled(kGlyphSize, kGlyphSize, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    }
    pixmap.setMask(pixmap.createMaskFromColor(QColor(255, 0, 0), Qt::MaskInColor));
    return QIcon(pixmap);
}

} // namespace

void LoadGlyphRange(QList<QIcon>& list, int first, int last)
{
    list.clear();
    for (int number = first; number <= last; ++number)
        list.append(loadGlyph(number));
}

void LoadGlyphList(QList<QIcon>& list, std::initializer_list<int> numbers)
{
    list.clear();
    for (int number : numbers)
        list.append(loadGlyph(number));
}

QList<QIcon> withHotImages(QList<QIcon> images, const QList<QIcon>& hot)
{
    for (qsizetype i = 0; i < images.size() && i < hot.size(); ++i)
        images[i].addPixmap(hot[i].pixmap(kGlyphSize, kGlyphSize), QIcon::Active);
    return images;
}

void loadStateGlyphs(QList<QIcon>& list)
{
    QList<QIcon> hot;
    LoadGlyphList(list, {30, 31, 32, 33, 34, 35, 42});
    LoadGlyphList(hot, {36, 37, 38, 39, 40, 41, 43});
    list = withHotImages(list, hot);
}

void CycleToolButtons(const QList<QAction*>& buttons)
{
    qsizetype down = -1;
    for (qsizetype i = 0; i < buttons.size() && down < 0; ++i) {
        if (buttons[i]->isChecked())
            down = i;
    }
    qsizetype next = down + 1;
    if (next < buttons.size() && !buttons[next]->isEnabled())
        ++next;
    // In an exclusive group, checking one button raises the others, so raising comes first.
    for (QAction* button : buttons) {
        if (button != buttons.value(next))
            button->setChecked(false);
    }
    if (next < buttons.size())
        buttons[next]->setChecked(true);
}

void cycleToolBar(const QWidget* bar)
{
    QList<QAction*> buttons;
    for (const QToolButton* button : bar->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly))
        buttons.append(button->defaultAction());
    CycleToolButtons(buttons);
}

void centreHorizontally(QWidget* widget)
{
    widget->move((widget->parentWidget()->width() - widget->width()) / 2, widget->y());
}

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
