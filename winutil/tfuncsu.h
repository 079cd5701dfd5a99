// Small helpers shared by the program's windows: glyph lists with their hot variants, cycling a group of tool buttons,
// the folder browser and shortening a path to a width.
#pragma once

#include <QIcon>
#include <QList>
#include <QString>

#include <initializer_list>

class QAction;
class QFontMetrics;
class QWidget;

// Glyphs are the bitmaps ":/resources/glyphs/<number>.bmp", drawn on pure red (255, 0, 0), which becomes
// transparent; each comes out 16 x 16 (smaller bitmaps are scaled). Both functions clear the list first.
void LoadGlyphRange(QList<QIcon>& list, int first, int last); // nothing when last < first
void LoadGlyphList(QList<QIcon>& list, std::initializer_list<int> numbers);
// The images with their hot variants, shown while the pointer is over a button.
QList<QIcon> withHotImages(QList<QIcon> images, const QList<QIcon>& hot);
// The glyphs of the source and attribute buttons, with their hot variants.
void loadStateGlyphs(QList<QIcon>& list);

// Presses the button after the first pressed one (the first when none is), skipping one disabled button; after the
// last, all are raised. The buttons are the checkable actions of one tool bar, in order.
void CycleToolButtons(const QList<QAction*>& buttons);
// The same for the tool buttons that are direct children of `bar`.
void cycleToolBar(const QWidget* bar);

// Moves a widget to the horizontal middle of its parent.
void centreHorizontally(QWidget* widget);

// The path, shortened from the left one folder at a time ("/.../doc/Report.txt", then ".../Report.txt", then
// "Report.txt") until it is at most maxWidth pixels wide or nothing more can be removed.
QString FitPathToWidth(const QString& path, const QFontMetrics& metrics, int maxWidth);
// One shortening step of a folder part ending in `/`: its first folder becomes the ".../" marker.
void DropFirstFolder(QString& folder);
