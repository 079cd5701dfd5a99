// The file list's font and column widths, and the size a first start gives the list.
#include "window/filelistpanel.h"

#include "ui_mainform.h"

#include "core/touchedfile.h"
#include "window/filelistmodel.h"
#include "winutil/qtdatetime.h"

#include <QApplication>
#include <QHeaderView>
#include <QStyleOptionViewItem>

#include <array>

namespace {

constexpr int kFirstStartRows = 15;

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

} // namespace

void FileListPanel::followSystemFont()
{
    const QFont listFont = QApplication::font(ui.lvMain);
    if (listFont.family() != ui.lvMain->font().family() || listFont.pointSizeF() != ui.lvMain->font().pointSizeF())
        ui.lvMain->setFont(listFont);
    columnPad = ui.lvMain->fontMetrics().horizontalAdvance("AM");
    AutoSizeColumns();
}

void FileListPanel::AutoSizeColumns()
{
    QHeaderView* header = ui.lvMain->header();
    // Not stretched while it is sized: a stretched last column's width is the room left, and adding to that made the
    // columns wider than the list at every pass. Stretched again, it fills what is left, at least its contents' width.
    header->setStretchLastSection(false);
    for (int column = 0; column < header->count(); ++column) {
        ui.lvMain->resizeColumnToContents(column);
        header->resizeSection(column, header->sectionSize(column) + columnPad);
    }
    header->setStretchLastSection(true);
}

QSize FileListPanel::firstStartSize() const
{
    const QTreeView& list = *ui.lvMain;
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
    return {frame + columnsWidth + scrollBar,
            frame + header->sizeHint().height() + kFirstStartRows * rowHeight + scrollBar};
}
