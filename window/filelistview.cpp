// The file list's view: it leaves drags and drops to the main window and marks the row a dragged row would take.
#include "window/filelistview.h"

#include <QDragMoveEvent>
#include <QPainter>
#include <QStyleOption>

void FileListView::setDropTarget(const QModelIndex& row)
{
    if (dropTarget_ == row)
        return;
    dropTarget_ = row;
    viewport()->update();
}

bool FileListView::isFromList(const QDropEvent* event) const
{
    return event->source() == this;
}

void FileListView::startDrag(Qt::DropActions)
{
    emit dragStarted();
}

void FileListView::dragEnterEvent(QDragEnterEvent* event)
{
    dragMoveEvent(event);
}

void FileListView::dragMoveEvent(QDragMoveEvent* event)
{
    event->ignore();
    const bool fromList = isFromList(event);
    emit dragOver(event, fromList);
    // A row dragged near the top or bottom edge scrolls the list, so that it can reach any place.
    const int y = event->position().toPoint().y();
    const bool nearEdge = y < autoScrollMargin() || y > viewport()->height() - autoScrollMargin();
    if (fromList && event->isAccepted() && nearEdge)
        startAutoScroll();
}

void FileListView::dragLeaveEvent(QDragLeaveEvent*)
{
    stopAutoScroll();
    setDropTarget({});
}

void FileListView::dropEvent(QDropEvent* event)
{
    stopAutoScroll();
    event->ignore();
    emit dragDrop(event, isFromList(event));
    setDropTarget({});
}

void FileListView::paintEvent(QPaintEvent* event)
{
    QTreeView::paintEvent(event);
    if (!dropTarget_.isValid())
        return;
    QStyleOption option;
    option.initFrom(this);
    option.rect = visualRect(dropTarget_);
    option.rect.setLeft(0);
    option.rect.setRight(viewport()->width() - 1);
    QPainter painter(viewport());
    style()->drawPrimitive(QStyle::PE_IndicatorItemViewItemDrop, &option, &painter, this);
}
