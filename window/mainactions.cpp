// The main window's images and the binding of its tool buttons, check boxes and groups to their actions.
#include "window/mainu.h"

#include "ui_mainform.h"

#include "window/filelistmodel.h"
#include "winutil/tfuncsu.h"

#include <QActionGroup>

namespace {

struct ButtonBinding
{
    QToolButton* button;
    QAction* action;
};

// Labels have no buddy (their Alt+letter cycles a group), so the marked letter is underlined by hand.
void UnderlineMnemonic(QLabel* label)
{
    QString text = label->text();
    const qsizetype at = text.indexOf('&');
    if (at < 0 || at + 1 >= text.size())
        return;
    text = text.left(at).toHtmlEscaped() + "<u>" + text.mid(at + 1, 1).toHtmlEscaped() + "</u>" +
           text.mid(at + 2).toHtmlEscaped();
    label->setTextFormat(Qt::RichText);
    label->setText(text);
}

} // namespace

void TMainForm::LoadImages()
{
    LoadGlyphRange(ilAction, 10, 23);
    LoadGlyphRange(ilStates, 30, 35);
    QList<QIcon> hot;
    LoadGlyphRange(hot, 36, 41);
    // The hot images show while the pointer is over a button.
    for (int i = 0; i < ilStates.size() && i < hot.size(); ++i)
        ilStates[i].addPixmap(hot[i].pixmap(16, 16), QIcon::Active);
    LoadGlyphRange(ilList, 45, 50);
    files->SetImages(ilList);
}

void TMainForm::BindButtons()
{
    const std::pair<QAction*, int> actionImages[] = {
        {ui->acApply, 0}, {ui->acSelect, 1}, {ui->acRemove, 2}, {ui->acClear, 3}, {ui->acUndoTouch, 4},
        {ui->acNow, 5},   {ui->acZerSec, 6}, {ui->acZerMin, 7}, {ui->acReset, 9}, {ui->acClkFmFile, 12},
    };
    for (const auto& [action, image] : actionImages)
        action->setIcon(ilAction.value(image));

    const ButtonBinding commands[] = {
        {ui->tbSelect, ui->acSelect}, {ui->tbRemove, ui->acRemove},       {ui->tbClear, ui->acClear},
        {ui->tbApply, ui->acApply},   {ui->tbUndo, ui->acUndoTouch},      {ui->tbReset, ui->acReset},
        {ui->tbNow, ui->acNow},       {ui->tbClkFmFile, ui->acClkFmFile}, {ui->tbZerSec, ui->acZerSec},
        {ui->tbZerMin, ui->acZerMin},
    };
    for (const ButtonBinding& binding : commands)
        binding.button->setDefaultAction(binding.action);

    // Each tool bar of check buttons is one group in which at most one button is down.
    const std::vector<std::vector<std::pair<ButtonBinding, int>>> groups = {
        {{{ui->tbModFmClk, ui->acModFmClk}, 0},
         {{ui->tbModFmCre, ui->acModFmCre}, 1},
         {{ui->tbModFmFld, ui->acModFmFld}, 5}},
        {{{ui->tbCreFmClk, ui->acCreFmClk}, 0},
         {{ui->tbCreFmMod, ui->acCreFmMod}, 2},
         {{ui->tbCreFmFld, ui->acCreFmFld}, 5}},
        {{{ui->tbAminus, ui->acAminus}, 3}, {{ui->tbAPlus, ui->acAPlus}, 4}},
        {{{ui->tbSMinus, ui->acSMinus}, 3}, {{ui->tbSPlus, ui->acSPlus}, 4}},
        {{{ui->tbHMinus, ui->acHMinus}, 3}, {{ui->tbHPlus, ui->acHPlus}, 4}},
        {{{ui->tbRMinus, ui->acRMinus}, 3}, {{ui->tbRPlus, ui->acRPlus}, 4}},
    };
    for (const auto& members : groups) {
        auto* group = new QActionGroup(this);
        group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
        for (const auto& [binding, image] : members) {
            binding.action->setIcon(ilStates.value(image));
            group->addAction(binding.action);
            binding.button->setDefaultAction(binding.action);
        }
    }

    for (QLabel* label : {ui->lblA, ui->lblS, ui->lblH, ui->lblR, ui->lblM, ui->lblC})
        UnderlineMnemonic(label);

    // The check boxes show their actions' checks; a click runs the action.
    const std::pair<QCheckBox*, QAction*> checks[] = {
        {ui->cbDatex, ui->acDate}, {ui->cbTimex, ui->acTime}, {ui->cbSeq, ui->acSeq}};
    for (const auto& [box, action] : checks) {
        box->setChecked(action->isChecked());
        box->setToolTip(action->toolTip());
        box->setStatusTip(action->statusTip());
        connect(action, &QAction::changed, box, [box = box, action = action] {
            box->setChecked(action->isChecked());
            box->setEnabled(action->isEnabled());
        });
        connect(box, &QCheckBox::clicked, action, [box = box, action = action] {
            box->setChecked(action->isChecked()); // the action decides the check
            action->trigger();
        });
    }
}
