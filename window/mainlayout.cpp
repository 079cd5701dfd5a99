// Following the system fonts: the window and list fonts, and the panel layout pass that lines the controls up.
#include "window/mainwindow.h"

#include "ui_mainform.h"

#include "core/touchedfile.h"
#include "window/filelistmodel.h"
#include "winutil/buttoncycle.h"
#include "winutil/qtdatetime.h"
#include "winutil/windowplacement.h"

#include <QApplication>
#include <QStyleOptionViewItem>

#include <array>

namespace {

constexpr int kFirstStartRows = 15;
constexpr int kMinTrackHeight = 400;
// Right of Exit, as the design leaves it.
constexpr int kRightOfExit = 16;
// Between two preset buttons: more than between a button and its own arrow, so that each arrow reads as its button's.
constexpr int kPresetSpacing = 6;

// Labels and tool bars take the size their contents need in the current font; the buttons of a bar stand
// `spacing` apart.
void fitToContents(const QList<QWidget*>& widgets, int spacing = 0)
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
            if (width > 0)
                width += spacing;
            button->setGeometry(width, 0, size.width(), size.height());
            width += size.width();
            height = std::max(height, size.height());
        }
        widget->resize(width, height);
    }
}

// What a cell of the list needs for its text (and image), as the list's delegate measures it.
QSize cellSize(const QTreeView& list, const QString& text, bool withImage)
{
    QStyleOptionViewItem option;
    option.initFrom(&list);
    option.font = list.font();
    option.fontMetrics = list.fontMetrics();
    option.features = QStyleOptionViewItem::HasDisplay;
    option.text = text;
    if (withImage) {
        option.features |= QStyleOptionViewItem::HasDecoration;
        const int icon = list.style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, &list);
        option.decorationSize = list.iconSize().isValid() ? list.iconSize() : QSize(icon, icon);
    }
    return list.style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), &list);
}

// A first start shows the stamp and attribute columns whole, with room for a camera's file names and the start of
// their folder, and kFirstStartRows rows, in the list's font and the style's measures; stamps are as wide as `formats`
// writes them.
QSize firstStartSize(const QMainWindow& form, const QTreeView& list, int columnPad, const DateTimeFormats& formats)
{
    // Morning and evening: the two day-half markers need not be as wide.
    const QDateTime evening(QDate(2000, 12, 28), QTime(20, 58, 58));
    QString stamp;
    for (const QDateTime& when : {evening, evening.addSecs(-12 * 3600)}) {
        const QString text = QString::fromStdString(StampText(formats, dateTimeToSerial(when)));
        if (list.fontMetrics().horizontalAdvance(text) > list.fontMetrics().horizontalAdvance(stamp))
            stamp = text;
    }
    const std::array<std::pair<QString, bool>, FileListModel::ColumnCount> samples = {{
        {"IMG_20240714_091200.jpg", true},
        {stamp, false},
        {stamp, false},
        {QString::fromStdString(AttrLetters(kAttrArchive | kAttrSystem | kAttrHidden | kAttrReadOnly | kAttrDirectory)),
         false},
        {"/home/user/Pictures/", false},
    }};
    const QHeaderView* header = list.header();
    int rowHeight = 0;
    int columnsWidth = 0;
    for (int column = 0; column < FileListModel::ColumnCount; ++column) {
        const auto& [text, withImage] = samples[column];
        const QSize cell = cellSize(list, text, withImage);
        columnsWidth += std::max(cell.width(), header->sectionSizeHint(column)) + columnPad;
        rowHeight = std::max(rowHeight, cell.height());
    }
    // The lower scroll bar counts too: a long folder name brings it.
    const int frame = 2 * list.frameWidth();
    const int scrollBar = list.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &list);
    const QSize listSize(frame + columnsWidth + scrollBar,
                         frame + header->sizeHint().height() + kFirstStartRows * rowHeight + scrollBar);
    return (form.size() - list.size() + listSize).expandedTo(form.minimumSize());
}

} // namespace

void MainWindow::aeMainSettingChange()
{
    const bool firstStart = firstActivation && !FormPlacementStored(iniFileName, *this);
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
    if (firstStart) {
        layout()->activate();
        PlaceAtFirstStart(*this, firstStartSize(*this, *ui->lvMain, columnPad, formats));
    }
}

void MainWindow::panelLayoutPass()
{
    // Each pass starts from the design, so that the panel shrinks again with the font.
    panelDesign.restore();
    fitToContents({ui->lblA, ui->lblS, ui->lblH, ui->lblR, ui->lblM, ui->lblC, ui->lblFilA, ui->lblFilT, ui->tbAttrA,
                   ui->tbAttrS, ui->tbAttrH, ui->tbAttrR, ui->tbMod, ui->tbCre, ui->tbFiles, ui->tbTouch, ui->tbClkA,
                   ui->tbClkB});
    fitToContents({ui->tbPresets}, kPresetSpacing);
    for (QWidget* widget : std::initializer_list<QWidget*>{ui->lblPresets, ui->btnHelp, ui->btnAbout, ui->btnExit,
                                                           ui->DTDateMod, ui->DTTimeMod, ui->comSeqN, ui->comSeqU})
        growToText(widget);

    placeLabelledBars(
        ui->gbAttr,
        {{ui->lblA, ui->tbAttrA}, {ui->lblS, ui->tbAttrS}, {ui->lblH, ui->tbAttrH}, {ui->lblR, ui->tbAttrR}},
        panelDesign);
    centreContents(ui->gbFiles);
    centreContents(ui->gbSettings);
    stackClockRows({ui->cbDatex, ui->DTDateMod, ui->cbTimex, ui->DTTimeMod, ui->cbSeq, ui->comSeqN, ui->comSeqU},
                   panelDesign);

    const QRect time = ui->DTTimeMod->geometry();
    const int clockTop = (time.y() + time.height() + ui->comSeqN->y() - ui->tbClkA->height()) / 2;
    ui->tbClkA->move(time.x(), clockTop);
    ui->tbClkB->move(time.x() + time.width() - ui->tbClkB->width(), clockTop);
    widenToContents(ui->gbDateTime, panelDesign);

    // Rows line up across the group boxes; a bar never starts above the bottom of its label.
    ui->lblM->move(ui->lblM->x(), ui->lblA->y());
    ui->lblFilA->move(ui->lblFilA->x(), ui->lblA->y());
    ui->tbMod->move(ui->tbMod->x(), ui->tbAttrS->y());
    ui->tbFiles->move(ui->tbFiles->x(), ui->tbAttrS->y());
    ui->lblC->move(ui->lblC->x(), ui->lblH->y());
    ui->lblFilT->move(ui->lblFilT->x(), ui->lblH->y());
    ui->tbCre->move(ui->tbCre->x(), ui->tbAttrR->y());
    ui->tbTouch->move(ui->tbTouch->x(), ui->tbAttrR->y());
    for (const auto& [label, bar] : {std::pair{ui->lblM, ui->tbMod}, std::pair{ui->lblFilA, ui->tbFiles},
                                     std::pair{ui->lblC, ui->tbCre}, std::pair{ui->lblFilT, ui->tbTouch}})
        keepBelow(bar, label, 0);

    lineUpGroups({ui->gbFiles, ui->gbAttr, ui->gbSettings, ui->gbDateTime}, panelDesign);
    placeButtonRow();
    ui->pnlControl->setFixedHeight(
        std::max(panelDesign.rootSize().height(),
                 ui->pnlControl->childrenRect().bottom() + 1 + panelDesign.margins(ui->pnlControl).bottom()));
    followPanelWidth();
}

void MainWindow::placeButtonRow()
{
    QWidget* groups = ui->gbFiles;
    const QList<QWidget*> buttons = {ui->btnHelp, ui->btnAbout, ui->btnExit};
    for (QWidget* button : buttons)
        keepBelow(button, groups, panelDesign.gapBelow(groups, button));
    keepBelow(ui->lblPresets, groups, panelDesign.gapBelow(groups, ui->lblPresets));

    // The bar ends 2 below the buttons, and starts below its label; the buttons follow it down.
    QWidget* bar = ui->tbPresets;
    const int barTop = std::max(ui->btnHelp->geometry().bottom() + 1 - bar->height() + 2,
                                ui->lblPresets->geometry().bottom() + 1 + panelDesign.gapBelow(ui->lblPresets, bar));
    bar->move(bar->x(), barTop);
    for (QWidget* button : buttons)
        button->move(button->x(), barTop + bar->height() - 2 - button->height());

    // Exit keeps its distance from the group boxes' right edge, unless the bar needs the buttons' room.
    QWidget* lastGroup = ui->gbDateTime;
    const int right =
        lastGroup->geometry().right() - panelDesign.rect(lastGroup).right() + panelDesign.rect(ui->btnExit).right() + 1;
    alignRight(buttons, right, panelDesign);
    const int shortfall =
        bar->geometry().right() + 1 + panelDesign.gapRightOf(ui->btnHelp, ui->btnAbout) - ui->btnHelp->x();
    if (shortfall > 0)
        alignRight(buttons, right + shortfall, panelDesign);
}

void MainWindow::followPanelWidth()
{
    minTrackWidth = ui->btnExit->geometry().right() + 1 + kRightOfExit;
    setMinimumSize(minTrackWidth > 0 ? minTrackWidth : 640, kMinTrackHeight);
}

void MainWindow::AutoSizeColumns()
{
    // Each column fits its header, or its widest row once there are rows, plus the width of "AM".
    QHeaderView* header = ui->lvMain->header();
    for (int column = 0; column < header->count(); ++column) {
        ui->lvMain->resizeColumnToContents(column);
        header->resizeSection(column, header->sectionSize(column) + columnPad);
    }
}
