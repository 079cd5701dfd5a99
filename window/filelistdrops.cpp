// Files dropped on the list from a file manager, and a row dragged to another place inside the list.
#include "window/filelistpanel.h"

#include "ui_mainform.h"

#include "core/driveclass.h"
#include "core/errorbox.h"
#include "window/busystate.h"
#include "window/filelistmodel.h"
#include "window/filelistview.h"
#include "winutil/pathbytes.h"

#include <QDrag>
#include <QDropEvent>
#include <QMimeData>

#include <algorithm>

namespace {

// The name without leading and trailing blanks and control characters.
std::string trimmedName(const std::string& name)
{
    const auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    const auto first = std::find_if_not(name.begin(), name.end(), isBlank);
    const auto last = std::find_if_not(name.rbegin(), name.rend(), isBlank).base();
    return first < last ? std::string(first, last) : std::string();
}

bool hasLocalFile(const QMimeData& data)
{
    return !droppedLocalFiles(data).empty();
}

} // namespace

void FileListPanel::connectDrops()
{
    connect(ui.lvMain, &FileListView::dragStarted, this, &FileListPanel::lvMainStartDrag);
    connect(ui.lvMain, &FileListView::dragOver, this, &FileListPanel::lvMainDragOver);
    connect(ui.lvMain, &FileListView::dragDrop, this, &FileListPanel::lvMainDragDrop);
}

void FileListPanel::lvMainStartDrag()
{
    const int first = firstSelectedRow();
    dragItem = first >= 0 ? QPersistentModelIndex(files->index(first, 0)) : QPersistentModelIndex();
    if (!dragItem.isValid())
        return;
    auto* drag = new QDrag(ui.lvMain);
    drag->setMimeData(files->mimeData({dragItem}));
    drag->setPixmap(ui.lvMain->viewport()->grab(ui.lvMain->visualRect(dragItem)));
    drag->exec(Qt::CopyAction);
}

void FileListPanel::lvMainDragOver(QDragMoveEvent* event, bool fromList)
{
    if (fromList) {
        if (!dragItem.isValid())
            return;
        // Over empty space the row last marked stays the target.
        const QModelIndex under = ui.lvMain->indexAt(event->position().toPoint());
        if (under.isValid())
            ui.lvMain->setDropTarget(under.siblingAtColumn(0));
    } else if (busy.isBusy() || !hasLocalFile(*event->mimeData())) {
        return;
    }
    // Files are only ever taken as copies: a move would let the file manager delete what it offered.
    if (!event->possibleActions().testFlag(Qt::CopyAction))
        return;
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void FileListPanel::lvMainDragDrop(QDropEvent* event, bool fromList)
{
    event->setDropAction(Qt::CopyAction);
    event->accept();
    if (!fromList) {
        // The file manager is released at once; adding may take a while and ask the user to read a message.
        QMetaObject::invokeMethod(
            this,
            [this, paths = droppedLocalFiles(*event->mimeData())] {
                busy.whenIdle([this, paths] { dropFiles(paths); });
            },
            Qt::QueuedConnection);
        return;
    }
    const QModelIndex target = ui.lvMain->dropTarget();
    if (!dragItem.isValid() || !target.isValid() || target.row() == dragItem.row())
        return;
    selectAddedRows();
    // The moved row takes the target's place; the rows from there to its old place shift toward it.
    moveListRow(dragItem.row(), target.row());
    dragItem = QPersistentModelIndex();
}

void FileListPanel::dropFiles(const std::vector<std::string>& paths)
{
    DropRefusals refusals;
    {
        const BusyState::Guard adding(busy);
        files->reserve(paths.size());
        for (const std::string& path : paths) {
            const std::string name = trimmedName(path);
            // A name that vanished since the drop is passed over without a word.
            if (!name.empty() && !refusals.refuse(ClassifyDrive(name)))
                addListedFile(name);
        }
        selectAddedRows();
        for (const std::string& message : refusals.messages())
            showErrorBox(message);
    }
    AutoSizeColumns();
}
