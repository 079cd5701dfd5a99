// Widgets that stand for checkable actions: check boxes, and tool buttons grouped as on a tool bar.
#include "winutil/actionbinding.h"
#include "winutil/focusframestyle.h"

#include <QAction>
#include <QCheckBox>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionToolButton>
#include <QToolButton>

namespace {

// A pressed button on the palette's highlight, framed, whatever the desktop's style: the styles' own pressed look is
// hard to tell from hover, and these buttons say what a touch will do.
class PressedButtonStyle : public QProxyStyle
{
public:
    // Over the focus frame, which a button's own style would otherwise hide.
    PressedButtonStyle() : QProxyStyle(new FocusFrameStyle) { setObjectName(kName); }

    static constexpr const char* kName = "pressedButtonStyle";

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget) const override
    {
        const auto* button = qstyleoption_cast<const QStyleOptionToolButton*>(option);
        if (control != CC_ToolButton || !button || !(button->state & State_On)) {
            QProxyStyle::drawComplexControl(control, option, painter, widget);
            return;
        }
        drawPressedPanel(*button, painter);
        // The glyph only: the style's own panel would cover this one.
        QStyleOptionToolButton glyph = *button;
        glyph.state &= ~(State_On | State_Sunken | State_Raised | State_MouseOver);
        QProxyStyle::drawComplexControl(control, &glyph, painter, widget);
    }

private:
    static void drawPressedPanel(const QStyleOptionToolButton& button, QPainter* painter)
    {
        // Mixed with the window's colour, the highlight leaves a glyph and a text readable in light and dark palettes;
        // under the pointer it grows stronger.
        const QColor highlight = button.palette.color(QPalette::Highlight);
        const QColor window = button.palette.color(QPalette::Window);
        const float share = button.state & (State_MouseOver | State_Sunken) ? 0.65f : 0.45f;
        const QColor fill = QColor::fromRgbF(window.redF() + (highlight.redF() - window.redF()) * share,
                                             window.greenF() + (highlight.greenF() - window.greenF()) * share,
                                             window.blueF() + (highlight.blueF() - window.blueF()) * share);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(QPen(highlight, 1));
        painter->setBrush(fill);
        painter->drawRoundedRect(QRectF(button.rect).adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
        painter->restore();
    }
};

// One style for all of a form's grouped buttons, going with the form.
QStyle* pressedButtonStyle(QObject* owner)
{
    if (auto* style = owner->findChild<QStyle*>(PressedButtonStyle::kName, Qt::FindDirectChildrenOnly))
        return style;
    auto* style = new PressedButtonStyle;
    style->setParent(owner);
    return style;
}

} // namespace

int pressedPosition(const QList<QAction*>& buttons)
{
    for (int i = 0; i < buttons.size(); ++i)
        if (buttons[i]->isChecked())
            return i + 1;
    return 0;
}

void pressPosition(const QList<QAction*>& buttons, int position)
{
    if (position < 0 || position > buttons.size())
        return;
    for (int i = 0; i < buttons.size(); ++i)
        buttons[i]->setChecked(i + 1 == position);
}

void bindCheckBox(QCheckBox* box, QAction* action)
{
    box->setChecked(action->isChecked());
    box->setToolTip(action->toolTip());
    box->setStatusTip(action->statusTip());
    QObject::connect(action, &QAction::changed, box, [box, action] {
        box->setChecked(action->isChecked());
        box->setEnabled(action->isEnabled());
    });
    QObject::connect(box, &QCheckBox::clicked, action, [box, action] {
        box->setChecked(action->isChecked()); // the action decides the check
        action->trigger();
    });
}

QActionGroup* bindButtonGroup(const std::vector<ButtonBinding>& members, const QList<QIcon>& images,
                              QActionGroup::ExclusionPolicy policy, QObject* owner)
{
    auto* group = new QActionGroup(owner);
    group->setExclusionPolicy(policy);
    for (const ButtonBinding& member : members) {
        member.action->setIcon(images.value(member.image));
        group->addAction(member.action);
        member.button->setDefaultAction(member.action);
        member.button->setStyle(pressedButtonStyle(owner));
    }
    return group;
}

QList<QAction*> actionsOf(const std::vector<ButtonBinding>& group)
{
    QList<QAction*> actions;
    for (const ButtonBinding& member : group)
        actions.append(member.action);
    return actions;
}
