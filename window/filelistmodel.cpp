// The rows of the file list: one touched file each, with its display texts, image and a fast index by path.
#include "window/filelistmodel.h"

#include "core/tfuncs2.h"
#include "platform/paths.h"

#include <QCollator>
#include <QFont>

#include <algorithm>
#include <cstdlib>
#include <numeric>

namespace {

const char* const kCaptions[] = {"Filename", "Modified", "Created", "Attr", "Path"};

QString Text(const std::string& text)
{
    return QString::fromStdString(text);
}

// The folder of a path without its trailing `/`, except for the root itself.
QString FolderText(const std::string& path)
{
    std::string folder = FolderPart(path);
    if (folder.size() > 1)
        folder.pop_back();
    return Text(folder);
}

} // namespace

FileListModel::FileListModel(QObject* parent) : QAbstractTableModel(parent) {}

FileListModel::~FileListModel() = default;

void FileListModel::SetImages(const QList<QIcon>& images)
{
    images_ = images;
}

int FileListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int FileListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant FileListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const Row& row = rows_[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case ColFilename:
            return row.fileName;
        case ColModified:
            return row.modified;
        case ColCreated:
            return row.created;
        case ColAttr:
            return row.attrs;
        case ColPath:
            return row.folder;
        }
        return {};
    case Qt::DecorationRole:
        if (index.column() == ColFilename && row.image < images_.size())
            return images_[row.image];
        return {};
    case Qt::FontRole:
        if (row.object->CurAttrs & kAttrDirectory) {
            QFont italic;
            italic.setItalic(true);
            return italic;
        }
        return {};
    case Qt::ToolTipRole: {
        const QString status = Text(row.object->StatusText).replace("\r\n", "\n");
        if (row.image == ImageTouched || row.image == ImageTouchFailed)
            return "Touched status:\n" + status;
        if (row.image == ImageUndoFailed)
            return "Undo status:\n" + status;
        return {};
    }
    }
    return {};
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return QString(kCaptions[section]);
    if (role == Qt::DecorationRole && headerImages_[section] < images_.size())
        return images_[headerImages_[section]];
    return {};
}

Qt::ItemFlags FileListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled;
}

int FileListModel::AddFile(const std::string& path, FileTime created, FileTime lastWrite, std::uint32_t attrs)
{
    auto object = std::make_unique<TskObj>(attrs, lastWrite, created, path);
    const int found = FindPath(path);
    if (found >= 0) {
        // A listed path keeps its row; its earlier touch and undo record go with the old object.
        Row& entry = rows_[static_cast<std::size_t>(found)];
        entry.object = std::move(object);
        entry.image = ImageListed;
        FillTexts(entry);
        emit dataChanged(index(found, 0), index(found, ColumnCount - 1));
        return found;
    }
    const int row = rowCount();
    beginInsertRows({}, row, row);
    Row entry;
    entry.object = std::move(object);
    FillTexts(entry);
    rows_.push_back(std::move(entry));
    pathIndex_.emplace(path, row);
    endInsertRows();
    return row;
}

int FileListModel::FindPath(const std::string& path) const
{
    const auto it = pathIndex_.find(path);
    return it == pathIndex_.end() ? -1 : it->second;
}

void FileListModel::RemoveRows(std::vector<int> rows)
{
    std::sort(rows.begin(), rows.end(), std::greater<>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    // Contiguous runs go in one step each, from the last row up.
    for (std::size_t i = 0; i < rows.size();) {
        std::size_t j = i;
        while (j + 1 < rows.size() && rows[j + 1] == rows[j] - 1)
            ++j;
        const int first = rows[j];
        const int last = rows[i];
        beginRemoveRows({}, first, last);
        rows_.erase(rows_.begin() + first, rows_.begin() + last + 1);
        endRemoveRows();
        i = j + 1;
    }
    RebuildIndex();
}

void FileListModel::Clear()
{
    beginResetModel();
    rows_.clear();
    pathIndex_.clear();
    endResetModel();
}

void FileListModel::MoveRow(int row, int to)
{
    const int neighbour = row + to;
    if (row < 0 || neighbour < 0 || neighbour >= rowCount() || (to != -1 && to != 1))
        return;
    // Qt counts the destination before the move: one further down when moving down.
    beginMoveRows({}, row, row, {}, to < 0 ? neighbour : neighbour + 1);
    std::swap(rows_[static_cast<std::size_t>(row)], rows_[static_cast<std::size_t>(neighbour)]);
    pathIndex_[rows_[static_cast<std::size_t>(row)].object->FileName] = row;
    pathIndex_[rows_[static_cast<std::size_t>(neighbour)].object->FileName] = neighbour;
    endMoveRows();
}

void FileListModel::SetRowImage(int row, int image)
{
    rows_[static_cast<std::size_t>(row)].image = image;
    emit dataChanged(index(row, ColFilename), index(row, ColFilename), {Qt::DecorationRole, Qt::ToolTipRole});
}

void FileListModel::RefreshRow(int row, bool modified, bool created, bool attrs)
{
    Row& entry = rows_[static_cast<std::size_t>(row)];
    if (modified)
        entry.modified = Text(entry.object->CurModifiedText());
    if (created)
        entry.created = Text(entry.object->CurCreatedText());
    if (attrs)
        entry.attrs = Text(entry.object->CurAttrsText());
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

void FileListModel::FillTexts(Row& row)
{
    const TskObj& object = *row.object;
    row.fileName = Text(NamePart(object.FileName));
    row.modified = Text(object.CurModifiedText());
    row.created = Text(object.CurCreatedText());
    row.attrs = Text(object.CurAttrsText());
    row.folder = FolderText(object.FileName);
}

void FileListModel::RebuildIndex()
{
    pathIndex_.clear();
    pathIndex_.reserve(rows_.size());
    for (std::size_t i = 0; i < rows_.size(); ++i)
        pathIndex_.emplace(rows_[i].object->FileName, static_cast<int>(i));
}

void FileListModel::Sort(int sortKey)
{
    const int column = std::abs(sortKey) - 1;
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    // Keys are computed once per row: comparing through data() would cost far more with many rows.
    std::vector<QCollatorSortKey> names;
    std::vector<QCollatorSortKey> texts;
    names.reserve(rows_.size());
    for (const Row& row : rows_) {
        names.push_back(collator.sortKey(row.fileName));
        if (column == ColAttr || column == ColPath)
            texts.push_back(collator.sortKey(column == ColAttr ? row.attrs : row.folder));
    }
    const auto compare = [&](std::size_t a, std::size_t b) {
        int result = 0;
        if (column == ColModified)
            result = CompareStamps(rows_[a].object->CurModified, rows_[b].object->CurModified);
        else if (column == ColCreated)
            result = CompareStamps(rows_[a].object->CurCreated, rows_[b].object->CurCreated);
        else if (column == ColAttr || column == ColPath)
            result = texts[a].compare(texts[b]);
        if (result == 0)
            result = names[a].compare(names[b]);
        return sortKey < 0 ? -result : result;
    };
    std::vector<std::size_t> order(rows_.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return compare(a, b) < 0; });

    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> newRowOf(rows_.size());
    std::vector<Row> sorted;
    sorted.reserve(rows_.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        newRowOf[order[i]] = static_cast<int>(i);
        sorted.push_back(std::move(rows_[order[i]]));
    }
    rows_ = std::move(sorted);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& old : before)
        after.push_back(index(newRowOf[static_cast<std::size_t>(old.row())], old.column()));
    changePersistentIndexList(before, after);
    RebuildIndex();
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void FileListModel::SetHeaderImage(int column, int image)
{
    if (column < 0 || column >= ColumnCount || headerImages_[column] == image)
        return;
    headerImages_[column] = image;
    emit headerDataChanged(Qt::Horizontal, column, column);
}
