// The preset's name field: as wide as the longest name it takes, in its own font.
#include "presets/namefield.h"

#include <QStyle>
#include <QStyleOptionFrame>

#include <algorithm>

namespace {

// The blank a line edit keeps on each side of its text, inside the frame.
constexpr int kTextBlank = 2;

} // namespace

QSize NameField::sizeHint() const
{
    const QFontMetrics metrics(font());
    const int letter = std::max(metrics.horizontalAdvance(u'W'), metrics.horizontalAdvance(u'M'));
    const QMargins margins = textMargins() + contentsMargins();
    const int text = letter * maxLength() + margins.left() + margins.right() + 2 * kTextBlank +
                     style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, this);
    QStyleOptionFrame frame;
    initStyleOption(&frame);
    const QSize usual = QLineEdit::sizeHint();
    const int width =
        style()->sizeFromContents(QStyle::CT_LineEdit, &frame, QSize(text, metrics.height()), this).width();
    return {std::max(width, usual.width()), usual.height()};
}
