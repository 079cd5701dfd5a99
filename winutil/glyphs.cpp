// Glyph lists: the pictures of buttons and list rows as icons, with the hot variants shown under the pointer.
#include "winutil/glyphs.h"

#include <QPixmap>

namespace {

constexpr int kGlyphSize = 16;
// The scales each glyph is rendered at when building: as designed, and twice that (its "@2x" picture) for 200 %.
constexpr int kGlyphScales[] = {1, 2};

QPixmap loadPicture(int number, int scale)
{
    QPixmap picture(scale == 1 ? QStringLiteral(":/resources/glyphs/%1.png").arg(number)
                               : QStringLiteral(":/resources/glyphs/%1@%2x.png").arg(number).arg(scale));
    picture.setDevicePixelRatio(scale);
    return picture;
}

QIcon loadGlyph(int number)
{
    QIcon icon;
    for (int scale : kGlyphScales)
        icon.addPixmap(loadPicture(number, scale));
    return icon;
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
    for (qsizetype i = 0; i < images.size() && i < hot.size(); ++i) {
        for (int scale : kGlyphScales)
            images[i].addPixmap(hot[i].pixmap(QSize(kGlyphSize, kGlyphSize), scale), QIcon::Active);
    }
    return images;
}

void loadStateGlyphs(QList<QIcon>& list)
{
    QList<QIcon> hot;
    LoadGlyphList(list, {30, 31, 32, 33, 34, 35, 42});
    LoadGlyphList(hot, {36, 37, 38, 39, 40, 41, 43});
    list = withHotImages(list, hot);
}
