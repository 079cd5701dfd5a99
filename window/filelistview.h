// The file list's view: it leaves drags and drops to the main window and marks the row a dragged row would take.
#pragma once

#include <QPersistentModelIndex>
#include <QTreeView>

class QDragMoveEvent;
class QDropEvent;

class FileListView : public QTreeView
{
    Q_OBJECT

public:
    using QTreeView::QTreeView;

    // The row that a row dragged inside the list would be dropped on, marked; an invalid index clears the mark.
    void setDropTarget(const QModelIndex& row);
    QModelIndex dropTarget() const { return dropTarget_; }

signals:
    // The user began to drag rows.
    void dragStarted();
    // A drag entered or moves over the list; `fromList` when it carries rows of this list. Accepting is up to the
    // receiver.
    void dragOver(QDragMoveEvent* event, bool fromList);
    void dragDrop(QDropEvent* event, bool fromList);

protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool isFromList(const QDropEvent* event) const;

    QPersistentModelIndex dropTarget_;
};
