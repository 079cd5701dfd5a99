// Widgets that stand for checkable actions: check boxes, and tool buttons grouped as on a tool bar.
#include "winutil/actionbinding.h"

#include <QAction>
#include <QCheckBox>
#include <QToolButton>

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
    }
    return group;
}
