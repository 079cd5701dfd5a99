// Following the system fonts: the window and list fonts, and the panel layout pass that lines the controls up.
#include "window/mainu.h"

#include "ui_mainform.h"

#include "window/filelistmodel.h"
#include "winutil/tfuncsu.h"

#include <QApplication>

namespace {

// Labels and tool bars take the size their contents need in the current font.
void fitToContents(const QList<QWidget*>& widgets)
{
    for (QWidget* widget : widgets) {
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            label->adjustSize();
            continue;
        }
        int width = 0;
        int height = 0;
        for (QToolButton* button : widget->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly)) {
            const QSize size = button->sizeHint().expandedTo(QSize(23, 22));
            button->setGeometry(width, 0, size.width(), size.height());
            width += size.width();
            height = std::max(height, size.height());
        }
        widget->resize(width, height);
    }
}

} // namespace

void TMainForm::aeMainSettingChange()
{
    const QFont systemFont = QApplication::font();
    if (systemFont.family() != font().family() || systemFont.pointSizeF() != font().pointSizeF()) {
        setFont(systemFont);
        statusBar()->setFixedHeight(QFontMetrics(systemFont).height() + 6);
        panelLayoutPass();
    } else if (firstActivation) {
        panelLayoutPass();
        firstActivation = false;
    }
    const QFont listFont = QApplication::font(ui->lvMain);
    if (listFont.family() != ui->lvMain->font().family() || listFont.pointSizeF() != ui->lvMain->font().pointSizeF())
        ui->lvMain->setFont(listFont);
    columnPad = ui->lvMain->fontMetrics().horizontalAdvance("AM");
    AutoSizeColumns();
}

void TMainForm::panelLayoutPass()
{
    fitToContents({ui->lblA, ui->lblS, ui->lblH, ui->lblR, ui->lblM, ui->lblC, ui->lblFilA, ui->lblFilT, ui->tbAttrA,
                   ui->tbAttrS, ui->tbAttrH, ui->tbAttrR, ui->tbMod, ui->tbCre, ui->tbFiles, ui->tbTouch, ui->tbClkA,
                   ui->tbClkB, ui->tbPresets});

    const std::pair<QLabel*, QWidget*> attributeRows[] = {
        {ui->lblA, ui->tbAttrA}, {ui->lblS, ui->tbAttrS}, {ui->lblH, ui->tbAttrH}, {ui->lblR, ui->tbAttrR}};
    for (const auto& [label, bar] : attributeRows) {
        bar->move(bar->parentWidget()->width() - bar->width() - 8, label->y() + label->height() - bar->height() + 2);
        label->move(bar->x() - label->width() - 8, label->y());
    }

    const QRect time = ui->DTTimeMod->geometry();
    const int clockTop = (time.y() + time.height() + ui->comSeqN->y() - ui->tbClkA->height()) / 2;
    ui->tbClkA->move(time.x(), clockTop);
    ui->tbClkB->move(time.x() + time.width() - ui->tbClkB->width(), clockTop);

    for (QWidget* widget :
         {static_cast<QWidget*>(ui->tbMod), static_cast<QWidget*>(ui->tbCre), static_cast<QWidget*>(ui->tbFiles),
          static_cast<QWidget*>(ui->tbTouch), static_cast<QWidget*>(ui->lblM), static_cast<QWidget*>(ui->lblC),
          static_cast<QWidget*>(ui->lblFilA), static_cast<QWidget*>(ui->lblFilT)})
        centreHorizontally(widget);

    // Rows line up across the group boxes.
    ui->lblM->move(ui->lblM->x(), ui->lblA->y());
    ui->lblFilA->move(ui->lblFilA->x(), ui->lblA->y());
    ui->tbMod->move(ui->tbMod->x(), ui->tbAttrS->y());
    ui->tbFiles->move(ui->tbFiles->x(), ui->tbAttrS->y());
    ui->lblC->move(ui->lblC->x(), ui->lblH->y());
    ui->lblFilT->move(ui->lblFilT->x(), ui->lblH->y());
    ui->tbCre->move(ui->tbCre->x(), ui->tbAttrR->y());
    ui->tbTouch->move(ui->tbTouch->x(), ui->tbAttrR->y());

    ui->tbPresets->move(ui->tbPresets->x(), ui->btnHelp->y() + ui->btnHelp->height() - ui->tbPresets->height() + 2);
}

void TMainForm::AutoSizeColumns()
{
    // Each column fits its header, or its widest row once there are rows, plus the width of "AM".
    QHeaderView* header = ui->lvMain->header();
    for (int column = 0; column < header->count(); ++column) {
        ui->lvMain->resizeColumnToContents(column);
        header->resizeSection(column, header->sectionSize(column) + columnPad);
    }
}
