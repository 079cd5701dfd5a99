// Glyph lists: the bitmaps of buttons and list rows as icons, with the hot variants shown under the pointer.
#pragma once

#include <QIcon>
#include <QList>

#include <initializer_list>

// Glyphs are the bitmaps ":/resources/glyphs/<number>.bmp", drawn on pure red (255, 0, 0), which becomes
// transparent; each comes out 16 x 16 (smaller bitmaps are scaled). Both functions clear the list first.
void LoadGlyphRange(QList<QIcon>& list, int first, int last); // nothing when last < first
void LoadGlyphList(QList<QIcon>& list, std::initializer_list<int> numbers);
// The images with their hot variants, shown while the pointer is over a button.
QList<QIcon> withHotImages(QList<QIcon> images, const QList<QIcon>& hot);
// The glyphs of the source and attribute buttons, with their hot variants.
void loadStateGlyphs(QList<QIcon>& list);
