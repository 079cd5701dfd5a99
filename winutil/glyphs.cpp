// Glyph lists: the bitmaps of buttons and list rows as icons, with the hot variants shown under the pointer.
#include "winutil/glyphs.h"

#include <QBitmap>
#include <QPixmap>

namespace {

constexpr int kGlyphSize = 16;

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
