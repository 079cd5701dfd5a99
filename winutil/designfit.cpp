// Fitting a window laid out by its design to the current font: the design's geometry each layout pass starts from,
// components grown to show their text, group boxes grown to hold their contents, rows kept apart by the design's
// blanks.
#include "winutil/designfit.h"

#include "winutil/buttoncycle.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QStyleOptionGroupBox>
#include <QStyleOptionSpinBox>

#include <algorithm>
#include <climits>

namespace {

// Between a label and its tool bar, and between the bar and the group's edge.
constexpr int kRowBlank = 8;

// The size at which a text of `text` pixels shows whole in the area `textArea` of a widget of size `size`.
QSize withRoomFor(const QSize& size, const QRect& textArea, const QSize& text)
{
    return size + QSize(std::max(0, text.width() - textArea.width()), std::max(0, text.height() - textArea.height()));
}

QSize pushButtonNeeds(const QPushButton& button)
{
    const QStyle* style = button.style();
    const int blank = 2 * (style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, &button) +
                           style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &button));
    const QSize text = button.fontMetrics().size(Qt::TextShowMnemonic, button.text());
    return {text.width() + blank, button.sizeHint().height()};
}

QSize pickerNeeds(const QDateTimeEdit& picker)
{
    // The style says where the editor goes, also while the picker is hidden and its editor not yet moved.
    QStyleOptionSpinBox option;
    option.initFrom(&picker);
    option.frame = picker.hasFrame();
    option.buttonSymbols = picker.buttonSymbols();
    option.subControls =
        QStyle::SC_SpinBoxFrame | QStyle::SC_SpinBoxEditField | QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown;
    const QRect field =
        picker.style()->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxEditField, &picker);
    // The earliest and the latest value: between them, both day halves and the widest digits the format writes.
    int widest = 0;
    for (const QDateTime& value : {picker.minimumDateTime(), picker.maximumDateTime()}) {
        const QString text = picker.locale().toString(value, picker.displayFormat());
        widest = std::max(widest, picker.fontMetrics().horizontalAdvance(text));
    }
    const int cursor = picker.style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, &picker);
    return withRoomFor(picker.size(), field,
                       QSize(widest + 2 * kLineEditInnerMargin + cursor, picker.fontMetrics().height()));
}

QSize listNeeds(const QComboBox& list)
{
    QStyleOptionComboBox option;
    option.initFrom(&list);
    option.editable = list.isEditable();
    option.frame = list.hasFrame();
    const QRect field = list.style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, &list);
    int widest = 0;
    for (int i = 0; i < list.count(); ++i)
        widest = std::max(widest, list.fontMetrics().horizontalAdvance(list.itemText(i)));
    return withRoomFor(list.size(), field, QSize(widest, list.fontMetrics().height()));
}

QSize textFieldNeeds(const QLineEdit& field)
{
    QStyleOptionFrame option;
    option.initFrom(&field);
    option.lineWidth = field.hasFrame() ? field.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &field) : 0;
    const QRect text = field.style()->subElementRect(QStyle::SE_LineEditContents, &option, &field);
    // A field scrolls its text sideways; only its height must hold a line.
    return withRoomFor(field.size(), text.marginsRemoved(field.textMargins()), QSize(0, field.fontMetrics().height()));
}

int titleBottom(const QGroupBox& group)
{
    QStyleOptionGroupBox option;
    option.initFrom(&group);
    option.text = group.title();
    option.textAlignment = group.alignment();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    return group.style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, &group).bottom() + 1;
}

// Widens a group to hold `contentsWidth` and its whole title, never narrowing it.
void widenGroup(QGroupBox* group, int contentsWidth)
{
    group->resize(std::max({group->width(), contentsWidth, group->minimumSizeHint().width()}), group->height());
}

QList<QWidget*> childrenOf(const QWidget* parent)
{
    return parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
}

} // namespace

DesignGeometry::DesignGeometry(const QWidget& root) : rootWidget(&root), root(root.minimumSize())
{
    // The components the design names; the parts Qt builds inside a widget are its own to place.
    for (QWidget* widget : root.findChildren<QWidget*>()) {
        const QString name = widget->objectName();
        if (!widget->isWindow() && !name.isEmpty() && !name.startsWith("qt_"))
            rects.insert(widget, widget->geometry());
    }
}

void DesignGeometry::restore() const
{
    for (auto design = rects.cbegin(); design != rects.cend(); ++design)
        design.key()->setGeometry(design.value());
}

QMargins DesignGeometry::margins(QWidget* parent) const
{
    QRect children;
    for (auto design = rects.cbegin(); design != rects.cend(); ++design) {
        if (design.key()->parentWidget() == parent)
            children |= design.value();
    }
    const QRect area(QPoint(0, 0), parent == rootWidget ? root : rect(parent).size());
    return {children.left() - area.left(), children.top() - area.top(), area.right() - children.right(),
            area.bottom() - children.bottom()};
}

int DesignGeometry::gapBelow(QWidget* above, QWidget* widget) const
{
    return rect(widget).top() - rect(above).bottom() - 1;
}

int DesignGeometry::gapRightOf(QWidget* left, QWidget* widget) const
{
    return rect(widget).left() - rect(left).right() - 1;
}

void keepBelow(QWidget* widget, const QWidget* above, int gap)
{
    widget->move(widget->x(), std::max(widget->y(), above->geometry().bottom() + 1 + gap));
}

void keepRightOf(QWidget* widget, const QWidget* left, int gap)
{
    widget->move(std::max(widget->x(), left->geometry().right() + 1 + gap), widget->y());
}

void growToText(QWidget* widget)
{
    QSize needs = widget->size();
    if (const auto* label = qobject_cast<QLabel*>(widget))
        needs = label->sizeHint();
    else if (const auto* button = qobject_cast<QPushButton*>(widget))
        needs = pushButtonNeeds(*button);
    else if (const auto* picker = qobject_cast<QDateTimeEdit*>(widget))
        needs = pickerNeeds(*picker);
    else if (const auto* list = qobject_cast<QComboBox*>(widget))
        needs = listNeeds(*list);
    else if (const auto* field = qobject_cast<QLineEdit*>(widget))
        needs = textFieldNeeds(*field);
    widget->resize(widget->size().expandedTo(needs));
}

void placeLabelledBars(QGroupBox* group, const QList<LabelledBar>& rows, const DesignGeometry& design)
{
    int needed = 0;
    for (const auto& [label, bar] : rows)
        needed = std::max(needed, design.rect(label).x() + label->width() + kRowBlank + bar->width() + kRowBlank);
    widenGroup(group, needed);

    QWidget* barAbove = nullptr;
    for (const LabelledBar& row : rows) {
        QLabel* label = row.label;
        QWidget* bar = row.bar;
        const auto barTop = [label, bar] { return label->y() + label->height() - bar->height() + 2; };
        if (barAbove) {
            const int lowest = barAbove->geometry().bottom() + 1 + design.gapBelow(barAbove, bar);
            label->move(label->x(), label->y() + std::max(0, lowest - barTop()));
        }
        bar->move(group->width() - bar->width() - kRowBlank, barTop());
        label->move(bar->x() - label->width() - kRowBlank, label->y());
        barAbove = bar;
    }
}

void centreContents(QGroupBox* group)
{
    const QMargins frame = group->contentsMargins();
    int needed = 0;
    for (const QWidget* child : childrenOf(group)) {
        const int blank = qobject_cast<const QLabel*>(child) ? 2 * kRowBlank : frame.left() + frame.right();
        needed = std::max(needed, child->width() + blank);
    }
    widenGroup(group, needed);
    for (QWidget* child : childrenOf(group))
        centreHorizontally(child);
}

void stackClockRows(const ClockRows& rows, const DesignGeometry& design)
{
    keepBelow(rows.time, rows.date, design.gapBelow(rows.date, rows.time));
    keepBelow(rows.seqNumber, rows.time, design.gapBelow(rows.time, rows.seqNumber));
    rows.seqUnit->move(rows.seqUnit->x(), rows.seqNumber->y());
    keepRightOf(rows.seqUnit, rows.seqNumber, design.gapRightOf(rows.seqNumber, rows.seqUnit));
    for (const auto& [check, field] : {std::pair{rows.dateCheck, rows.date}, std::pair{rows.timeCheck, rows.time},
                                       std::pair{rows.seqCheck, rows.seqNumber}})
        check->move(check->x(), field->y() + (field->height() - check->height()) / 2);
}

void widenToContents(QGroupBox* group, const DesignGeometry& design)
{
    int right = 0;
    for (const QWidget* child : childrenOf(group))
        right = std::max(right, child->geometry().right() + 1);
    widenGroup(group, right + design.margins(group).right());
}

void lineUpGroups(const QList<QGroupBox*>& groups, const DesignGeometry& design)
{
    // A large font makes the titles taller: every group's contents move down alike, so that rows stay lined up.
    int lower = 0;
    for (const QGroupBox* group : groups) {
        for (const QWidget* child : childrenOf(group))
            lower = std::max(lower, titleBottom(*group) - child->y());
    }
    int bottom = 0;
    int margin = INT_MAX;
    for (QGroupBox* group : groups) {
        for (QWidget* child : childrenOf(group))
            child->move(child->x(), child->y() + lower);
        bottom = std::max(bottom, group->childrenRect().bottom() + 1);
        margin = std::min(margin, design.margins(group).bottom());
    }
    for (qsizetype i = 0; i < groups.size(); ++i) {
        QGroupBox* group = groups[i];
        group->resize(group->width(), std::max(group->height(), bottom + margin));
        if (i > 0)
            keepRightOf(group, groups[i - 1], design.gapRightOf(groups[i - 1], group));
    }
}

void alignRight(const QList<QWidget*>& buttons, int right, const DesignGeometry& design)
{
    for (qsizetype i = buttons.size() - 1; i >= 0; --i) {
        buttons[i]->move(right - buttons[i]->width(), buttons[i]->y());
        if (i > 0)
            right = buttons[i]->x() - design.gapRightOf(buttons[i - 1], buttons[i]);
    }
}
