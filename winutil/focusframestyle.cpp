// The application's style with a clear keyboard-focus frame on tool buttons, which the desktop styles barely mark.
#include "winutil/focusframestyle.h"

#include <QApplication>
#include <QPainter>
#include <QStyleOptionToolButton>

namespace {

// Two pixels of the highlight colour just inside the button's edge, then one of the window's colour: it stands out on
// light and dark palettes, and on a pressed button's highlighted panel too, and leaves the glyph uncovered.
void drawFocusFrame(const QStyleOption& option, QPainter* painter)
{
    const QRectF edge(option.rect);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setBrush(Qt::NoBrush);
    painter->setPen(QPen(option.palette.color(QPalette::Window), 1));
    painter->drawRoundedRect(edge.adjusted(2.5, 2.5, -2.5, -2.5), 1, 1);
    painter->setPen(QPen(option.palette.color(QPalette::Highlight), 2));
    painter->drawRoundedRect(edge.adjusted(1, 1, -1, -1), 2, 2);
    painter->restore();
}

QString applicationStyleName()
{
    const QStyle* style = QApplication::style();
    while (const auto* proxy = qobject_cast<const QProxyStyle*>(style))
        style = proxy->baseStyle();
    return style->name();
}

} // namespace

FocusFrameStyle::FocusFrameStyle() : QProxyStyle(applicationStyleName()) {}

void FocusFrameStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                                         const QWidget* widget) const
{
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    if (control == CC_ToolButton && (option->state & State_HasFocus))
        drawFocusFrame(*option, painter);
}

void installFocusFrameStyle()
{
    QApplication::setStyle(new FocusFrameStyle);
}
