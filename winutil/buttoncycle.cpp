// Cycling a group of tool buttons: each press of its key moves the pressed button one on.
#include "winutil/buttoncycle.h"

#include <QAction>
#include <QToolButton>

void CycleToolButtons(const QList<QAction*>& buttons)
{
    qsizetype down = -1;
    for (qsizetype i = 0; i < buttons.size() && down < 0; ++i) {
        if (buttons[i]->isChecked())
            down = i;
    }
    qsizetype next = down + 1;
    if (next < buttons.size() && !buttons[next]->isEnabled())
        ++next;
    // In an exclusive group, checking one button raises the others, so raising comes first.
    for (QAction* button : buttons) {
        if (button != buttons.value(next))
            button->setChecked(false);
    }
    if (next < buttons.size())
        buttons[next]->setChecked(true);
}

void cycleToolBar(const QWidget* bar)
{
    QList<QAction*> buttons;
    for (const QToolButton* button : bar->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly))
        buttons.append(button->defaultAction());
    CycleToolButtons(buttons);
}
