// Glyph lists: the pictures of buttons and list rows as icons, with the hot variants shown under the pointer.
#pragma once

#include <QIcon>
#include <QList>

#include <initializer_list>

// Glyphs are the pictures ":/resources/glyphs/<number>.png", rendered from their drawings when building: each icon
// holds them at 16 x 16 and at 32 x 32 ("<number>@2x.png"), so that it stays sharp at 200 %. Both functions clear
// the list first.
void LoadGlyphRange(QList<QIcon>& list, int first, int last); // nothing when last < first
void LoadGlyphList(QList<QIcon>& list, std::initializer_list<int> numbers);
// The images with their hot variants, shown while the pointer is over a button.
QList<QIcon> withHotImages(QList<QIcon> images, const QList<QIcon>& hot);
// The glyphs of the source and attribute buttons, with their hot variants.
void loadStateGlyphs(QList<QIcon>& list);
