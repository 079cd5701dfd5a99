// Widgets that stand for checkable actions: check boxes, and tool buttons grouped as on a tool bar.
#pragma once

#include <QActionGroup>
#include <QIcon>
#include <QList>

#include <array>
#include <vector>

class QAction;
class QCheckBox;
class QObject;
class QToolButton;

// A group of buttons stands for a code: the 1-based position of its pressed button, 0 when none is down.
int pressedPosition(const QList<QAction*>& buttons);
// Presses the button at `position` (0 releases all); other values leave the group alone.
void pressPosition(const QList<QAction*>& buttons, int position);

// The box shows the action's check and enabling and carries its hints; a click runs the action, which decides the
// check.
void bindCheckBox(QCheckBox* box, QAction* action);

struct ButtonBinding
{
    QToolButton* button;
    QAction* action;
    int image; // index into the group's image list
};

// Each button shows its action, which takes its image, and is drawn on the highlight colour while pressed; the
// actions form one group owned by `owner`.
QActionGroup* bindButtonGroup(const std::vector<ButtonBinding>& members, const QList<QIcon>& images,
                              QActionGroup::ExclusionPolicy policy, QObject* owner);

// The Modified and Created source buttons and the attribute buttons, which the main window and the preset dialog
// both carry under the same names: one group per tool bar, in which at most one button is down, in the order of the
// panel's and the presets' codes (Modified, Created, archive, system, hidden, read-only). A group's code is the
// 1-based position of its pressed button (pressedPosition).
template <class Form> std::array<std::vector<ButtonBinding>, 6> sourceAndAttributeGroups(const Form& ui)
{
    return {{
        {{ui.tbModFmClk, ui.acModFmClk, 0},
         {ui.tbModFmCre, ui.acModFmCre, 1},
         {ui.tbModFmFld, ui.acModFmFld, 5},
         {ui.tbModFmRec, ui.acModFmRec, 6}},
        {{ui.tbCreFmClk, ui.acCreFmClk, 0},
         {ui.tbCreFmMod, ui.acCreFmMod, 2},
         {ui.tbCreFmFld, ui.acCreFmFld, 5},
         {ui.tbCreFmRec, ui.acCreFmRec, 6}},
        {{ui.tbAminus, ui.acAminus, 3}, {ui.tbAPlus, ui.acAPlus, 4}},
        {{ui.tbSMinus, ui.acSMinus, 3}, {ui.tbSPlus, ui.acSPlus, 4}},
        {{ui.tbHMinus, ui.acHMinus, 3}, {ui.tbHPlus, ui.acHPlus, 4}},
        {{ui.tbRMinus, ui.acRMinus, 3}, {ui.tbRPlus, ui.acRPlus, 4}},
    }};
}

// The actions of a group's buttons, in order.
QList<QAction*> actionsOf(const std::vector<ButtonBinding>& group);

template <class Form> void bindSourceAndAttributeButtons(const Form& ui, const QList<QIcon>& images, QObject* owner)
{
    for (const std::vector<ButtonBinding>& members : sourceAndAttributeGroups(ui))
        bindButtonGroup(members, images, QActionGroup::ExclusionPolicy::ExclusiveOptional, owner);
}
