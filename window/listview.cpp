// The file list's view: it leaves drags and drops to the main window and marks the row a dragged row would take.
#include "window/listview.h"

#include <QDragMoveEvent>
#include <QPainter>
#include <QStyleOption>

void TListView::SetDropTarget(const QModelIndex& row)
{
    if (dropTarget == row)
        return;
    dropTarget = row;
    viewport()->update();
}

bool TListView::FromList(const QDropEvent* event) const
{
    return event->source() == this;
}

void TListView::startDrag(Qt::DropActions)
{
    emit StartDrag();
}

void TListView::dragEnterEvent(QDragEnterEvent* event)
{
    dragMoveEvent(event);
}

void TListView::dragMoveEvent(QDragMoveEvent* event)
{
    event->ignore();
    const bool fromList = FromList(event);
    emit DragOver(event, fromList);
    // A row dragged near the top or bottom edge scrolls the list, so that it can reach any place.
    const int y = event->position().toPoint().y();
    const bool nearEdge = y < autoScrollMargin() || y > viewport()->height() - autoScrollMargin();
    if (fromList && event->isAccepted() && nearEdge)
        startAutoScroll();
}

void TListView::dragLeaveEvent(QDragLeaveEvent*)
{
    stopAutoScroll();
    SetDropTarget({});
}

void TListView::dropEvent(QDropEvent* event)
{
    stopAutoScroll();
    event->ignore();
    emit DragDrop(event, FromList(event));
    SetDropTarget({});
}

void TListView::paintEvent(QPaintEvent* event)
{
    QTreeView::paintEvent(event);
    if (!dropTarget.isValid())
        return;
    QStyleOption option;
    option.initFrom(this);
    option.rect = visualRect(dropTarget);
    option.rect.setLeft(0);
    option.rect.setRight(viewport()->width() - 1);
    QPainter painter(viewport());
    style()->drawPrimitive(QStyle::PE_IndicatorItemViewItemDrop, &option, &painter, this);
}
