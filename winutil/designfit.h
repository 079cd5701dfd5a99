// Fitting a window laid out by its design to the current font: the design's geometry each layout pass starts from,
// components grown to show their text, group boxes grown to hold their contents, rows kept apart by the design's
// blanks.
#pragma once

#include <QHash>
#include <QList>
#include <QMargins>
#include <QRect>
#include <QSize>

class QGroupBox;
class QLabel;
class QWidget;

// The blank a line edit keeps on each side of its text, inside the frame.
constexpr int kLineEditInnerMargin = 2;

// Where every named component under a root widget stands in the design. A layout pass starts from it again, so that a
// large font does not leave the window large once the font is small again; the blanks between its components are the
// distances the pass keeps.
class DesignGeometry
{
public:
    DesignGeometry() = default;
    // The root's own design size is its minimum size: both designed windows fix theirs (the dialog whole, the main
    // window's panel its height).
    explicit DesignGeometry(const QWidget& root);

    void restore() const;
    QRect rect(QWidget* widget) const { return rects.value(widget); }
    QSize rootSize() const { return root; }
    // The blank between `parent`'s design edges and the design box of its children.
    QMargins margins(QWidget* parent) const;
    // The design's blank from the bottom of `above` to the top of `widget`, and from the right of `left` to `widget`.
    int gapBelow(QWidget* above, QWidget* widget) const;
    int gapRightOf(QWidget* left, QWidget* widget) const;
    // The design's blank from the right of `widget` to the root's right edge.
    int blankRightOf(QWidget* widget) const { return root.width() - rect(widget).right() - 1; }

private:
    const QWidget* rootWidget = nullptr;
    QSize root;
    QHash<QWidget*, QRect> rects;
};

// Moves `widget` down (right) when it would come closer than `gap` to `above` (`left`).
void keepBelow(QWidget* widget, const QWidget* above, int gap);
void keepRightOf(QWidget* widget, const QWidget* left, int gap);

// Grows a label, push button, date or time picker, list box or text field so that its text shows whole in its font.
void growToText(QWidget* widget);

// Rows of a label left of its tool bar, top to bottom: each bar keeps 8 pixels from the group's right edge and ends 2
// below its label, each label 8 left of its bar. The group widens so that the labels start no further left than in
// the design, and a row moves down when its bar would come closer to the bar above than in the design.
struct LabelledBar
{
    QLabel* label;
    QWidget* bar;
};
void placeLabelledBars(QGroupBox* group, const QList<LabelledBar>& rows, const DesignGeometry& design);

// Widens the group so that each child fits, then centres them all: a label keeps 8 pixels from the frame on each
// side, a tool bar (whose buttons draw their own blank) need only stay inside the frame.
void centreContents(QGroupBox* group);

// The date/time group's rows: the date picker, the time picker below it and the sequence lists below that, each with
// its check box beside it; the unit list stays right of the number list.
struct ClockRows
{
    QWidget* dateCheck;
    QWidget* date;
    QWidget* timeCheck;
    QWidget* time;
    QWidget* seqCheck;
    QWidget* seqNumber;
    QWidget* seqUnit;
};
void stackClockRows(const ClockRows& rows, const DesignGeometry& design);
// Widens a group whose contents start at the left so that they end the design's blank short of its right edge.
void widenToContents(QGroupBox* group, const DesignGeometry& design);

// Group boxes side by side, left to right with the design's blanks: their contents start below their titles, and all
// are as high as the highest needs.
void lineUpGroups(const QList<QGroupBox*>& groups, const DesignGeometry& design);

// Puts `buttons` side by side from the right, the last one ending at `right`, with the design's blanks between them.
void alignRight(const QList<QWidget*>& buttons, int right, const DesignGeometry& design);
