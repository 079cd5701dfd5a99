// The main window's images and the binding of its tool buttons, check boxes and groups to their actions.
#include "window/mainwindow.h"

#include "ui_mainform.h"

#include "window/filelistmodel.h"
#include "winutil/actionbinding.h"
#include "winutil/glyphs.h"

namespace {

// Labels have no buddy (their Alt+letter cycles a group), so the marked letter is underlined by hand.
void underlineMnemonic(QLabel* label)
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

void MainWindow::loadImages()
{
    LoadGlyphRange(ilAction, 10, 23);
    loadStateGlyphs(ilStates);
    LoadGlyphRange(ilList, 45, 50);
    files->setImages(ilList);
}

void MainWindow::bindButtons()
{
    const std::pair<QAction*, int> actionImages[] = {
        {ui->acApply, 0}, {ui->acSelect, 1}, {ui->acRemove, 2}, {ui->acClear, 3}, {ui->acUndoTouch, 4},
        {ui->acNow, 5},   {ui->acZerSec, 6}, {ui->acZerMin, 7}, {ui->acReset, 9}, {ui->acClkFmFile, 12},
    };
    for (const auto& [action, image] : actionImages)
        action->setIcon(ilAction.value(image));

    const std::pair<QToolButton*, QAction*> commands[] = {
        {ui->tbSelect, ui->acSelect}, {ui->tbRemove, ui->acRemove},       {ui->tbClear, ui->acClear},
        {ui->tbApply, ui->acApply},   {ui->tbUndo, ui->acUndoTouch},      {ui->tbReset, ui->acReset},
        {ui->tbNow, ui->acNow},       {ui->tbClkFmFile, ui->acClkFmFile}, {ui->tbZerSec, ui->acZerSec},
        {ui->tbZerMin, ui->acZerMin},
    };
    for (const auto& [button, action] : commands)
        button->setDefaultAction(action);
    bindSourceAndAttributeButtons(*ui, ilStates, this);

    for (QLabel* label : {ui->lblA, ui->lblS, ui->lblH, ui->lblR, ui->lblM, ui->lblC})
        underlineMnemonic(label);

    for (const auto& [box, action] :
         {std::pair{ui->cbDatex, ui->acDate}, std::pair{ui->cbTimex, ui->acTime}, std::pair{ui->cbSeq, ui->acSeq}})
        bindCheckBox(box, action);
}
