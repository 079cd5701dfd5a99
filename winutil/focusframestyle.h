// The application's style with a clear keyboard-focus frame on tool buttons, which the desktop styles barely mark.
#pragma once

#include <QProxyStyle>

class FocusFrameStyle : public QProxyStyle
{
public:
    // Over a new instance of the application's style (beneath any proxy of it), so that it can serve as the
    // application's style and as the base of a widget's own proxy style alike.
    FocusFrameStyle();

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget = nullptr) const override;
};

// Makes FocusFrameStyle the application's style, over the style it has now.
void installFocusFrameStyle();
