// The rows of the file list: one touched file each, with its display texts, image and a fast index by path.
#include "window/filelistmodel.h"

#include "core/datetimeformats.h"
#include "core/printable.h"
#include "core/stamps.h"
#include "platform/paths.h"
#include "winutil/pathbytes.h"

#include <QFont>
#include <QHash>
#include <QMimeData>
#include <QUrl>

#include <algorithm>
#include <cstdlib>
#include <numeric>

namespace {

const char* const kCaptions[] = {"Filename", "Modified", "Created", "Attr", "Path"};
const char* const kUriListType = "text/uri-list";
// More separate runs of removed rows than this are removed in one rebuild.
constexpr std::size_t kMaxRemovedRuns = 64;

QString toQString(const std::string& text)
{
    return QString::fromStdString(text);
}

// A name as the list shows it: escaped as in a report, so that a control character is neither dropped nor obeyed
// and an override cannot turn the rest of the row around.
QString nameText(std::string_view name)
{
    return toQString(printable(name));
}

// The folder of a path without its trailing `/`, except for the root itself.
QString folderText(const std::string& path)
{
    std::string folder = folderPart(path);
    if (folder.size() > 1)
        folder.pop_back();
    return nameText(folder);
}

// The collator's keys for the C locale would tell letter case apart: texts are compared case-folded.
QString folded(const QString& text)
{
    return text.toCaseFolded();
}

// Each key's place in ascending order; equal keys share a place.
std::vector<int> keyRanks(const std::vector<const QCollatorSortKey*>& keys)
{
    std::vector<std::size_t> order(keys.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return keys[a]->compare(*keys[b]) < 0; });
    std::vector<int> ranks(keys.size());
    int rank = 0;
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (i > 0 && keys[order[i]]->compare(*keys[order[i - 1]]) != 0)
            ++rank;
        ranks[order[i]] = rank;
    }
    return ranks;
}

// Each text's place in collation order; texts that collate equal share a place. Rows share few folders and fewer
// attribute texts, so each distinct text is keyed only once.
std::vector<int> collationRanks(const QCollator& collator, const std::vector<QString>& texts)
{
    QHash<QString, int> numberOf;
    std::vector<QCollatorSortKey> keys;
    std::vector<int> ranks;
    ranks.reserve(texts.size());
    for (const QString& text : texts) {
        auto it = numberOf.find(text);
        if (it == numberOf.end()) {
            it = numberOf.insert(text, static_cast<int>(keys.size()));
            keys.push_back(collator.sortKey(folded(text)));
        }
        ranks.push_back(*it);
    }
    std::vector<const QCollatorSortKey*> distinct;
    for (const QCollatorSortKey& key : keys)
        distinct.push_back(&key);
    const std::vector<int> distinctRanks = keyRanks(distinct);
    for (int& rank : ranks)
        rank = distinctRanks[static_cast<std::size_t>(rank)];
    return ranks;
}

} // namespace

std::vector<std::pair<int, int>> rowRuns(std::vector<int> rows)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::vector<std::pair<int, int>> runs;
    for (const int row : rows) {
        if (!runs.empty() && runs.back().second + 1 == row)
            runs.back().second = row;
        else
            runs.emplace_back(row, row);
    }
    return runs;
}

FileListModel::FileListModel(DateTimeFormats formats, QObject* parent)
    : QAbstractTableModel(parent), formats_(std::move(formats))
{
    collator_.setCaseSensitivity(Qt::CaseInsensitive);
}

FileListModel::~FileListModel() = default;

void FileListModel::setImages(const QList<QIcon>& images)
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
        return displayText(row, index.column());
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
        const QString status = toQString(row.object->StatusText).replace("\r\n", "\n");
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

QStringList FileListModel::mimeTypes() const
{
    return {kUriListType};
}

QMimeData* FileListModel::mimeData(const QModelIndexList& indexes) const
{
    std::vector<int> rows;
    rows.reserve(static_cast<std::size_t>(indexes.size()));
    for (const QModelIndex& index : indexes)
        if (index.isValid() && index.model() == this)
            rows.push_back(index.row());
    QList<QUrl> urls;
    for (const auto& [first, last] : rowRuns(std::move(rows)))
        for (int row = first; row <= last; ++row)
            urls.push_back(localFileUrl(rows_[static_cast<std::size_t>(row)].object->FileName));
    auto* data = new QMimeData;
    data->setUrls(urls);
    return data;
}

Qt::DropActions FileListModel::supportedDragActions() const
{
    // A move would ask the drop target to take the files away: rows are only ever offered for copying.
    return Qt::CopyAction;
}

int FileListModel::AddFile(const std::string& path, EntrySnapshot listed)
{
    const EntryInfo& info = listed.info;
    auto object = std::make_unique<TouchedFile>(info.attrs, info.modified, info.created, path);
    // One look into the index finds a listed path or makes its entry.
    const auto [indexed, isNew] = pathIndex_.try_emplace(path, 0);
    if (!isNew) {
        // A listed path keeps its row; its earlier touch and undo record go with the old object.
        const int found = rowOfSlot_[static_cast<std::size_t>(indexed->second)];
        Row& entry = rows_[static_cast<std::size_t>(found)];
        entry.object = std::move(object);
        entry.listed = std::move(listed);
        entry.image = ImageListed;
        emit dataChanged(index(found, 0), index(found, ColumnCount - 1));
        return found;
    }
    const int row = rowCount();
    beginInsertRows({}, row, row);
    Row entry;
    entry.object = std::move(object);
    entry.listed = std::move(listed);
    entry.slot = indexed->second = newSlot();
    rows_.push_back(std::move(entry));
    reindexRows(row, row);
    nameRanksValid_ = false;
    endInsertRows();
    return row;
}

void FileListModel::reserve(std::size_t count)
{
    rows_.reserve(rows_.size() + count);
    rowOfSlot_.reserve(rowOfSlot_.size() + count);
    pathIndex_.reserve(pathIndex_.size() + count);
}

int FileListModel::findPath(const std::string& path) const
{
    const auto it = pathIndex_.find(path);
    return it == pathIndex_.end() ? -1 : rowOfSlot_[static_cast<std::size_t>(it->second)];
}

void FileListModel::removeRowsAt(std::vector<int> rows)
{
    const std::vector<std::pair<int, int>> runs = rowRuns(std::move(rows));
    if (runs.empty())
        return;
    for (const auto& [first, last] : runs) {
        for (int row = first; row <= last; ++row) {
            const Row& entry = rows_[static_cast<std::size_t>(row)];
            pathIndex_.erase(entry.object->FileName);
            freeSlots_.push_back(entry.slot);
        }
    }
    if (runs.size() > kMaxRemovedRuns) {
        // Each run would shift every row below it: with many runs, rebuilding the list once is far cheaper.
        beginResetModel();
        std::vector<bool> removed(rows_.size());
        for (const auto& [first, last] : runs)
            std::fill(removed.begin() + first, removed.begin() + last + 1, true);
        std::size_t kept = 0;
        for (std::size_t i = 0; i < rows_.size(); ++i) {
            if (removed[i])
                continue;
            if (kept != i)
                rows_[kept] = std::move(rows_[i]);
            ++kept;
        }
        rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(kept), rows_.end());
        reindexRows(runs.front().first, rowCount() - 1);
        endResetModel();
        return;
    }
    // From the last run up, so that the rows of the runs still to go keep their numbers.
    for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
        const auto [first, last] = *run;
        beginRemoveRows({}, first, last);
        rows_.erase(rows_.begin() + first, rows_.begin() + last + 1);
        endRemoveRows();
    }
    reindexRows(runs.front().first, rowCount() - 1);
}

void FileListModel::clear()
{
    beginResetModel();
    rows_.clear();
    pathIndex_.clear();
    rowOfSlot_.clear();
    freeSlots_.clear();
    endResetModel();
}

void FileListModel::moveRowTo(int row, int to)
{
    if (row < 0 || to < 0 || row >= rowCount() || to >= rowCount() || row == to)
        return;
    // Qt counts the destination before the move: one further down when moving down.
    beginMoveRows({}, row, row, {}, to > row ? to + 1 : to);
    const int top = std::min(row, to);
    const int bottom = std::max(row, to);
    const auto first = rows_.begin() + top;
    const auto last = rows_.begin() + bottom + 1;
    std::rotate(first, to > row ? first + 1 : last - 1, last);
    reindexRows(top, bottom);
    endMoveRows();
}

void FileListModel::setRowImage(int row, int image)
{
    rows_[static_cast<std::size_t>(row)].image = image;
    emit dataChanged(index(row, ColFilename), index(row, ColFilename), {Qt::DecorationRole, Qt::ToolTipRole});
}

void FileListModel::refreshRow(int row)
{
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

QString FileListModel::displayText(const Row& row, int column) const
{
    const TouchedFile& object = *row.object;
    switch (column) {
    case ColFilename:
        return nameText(namePart(object.FileName));
    case ColModified:
        return toQString(object.CurModifiedText(formats_));
    case ColCreated:
        return toQString(object.CurCreatedText(formats_));
    case ColAttr:
        return toQString(object.CurAttrsText());
    case ColPath:
        return folderText(object.FileName);
    }
    return {};
}

int FileListModel::newSlot()
{
    if (freeSlots_.empty()) {
        rowOfSlot_.push_back(-1);
        return static_cast<int>(rowOfSlot_.size()) - 1;
    }
    const int slot = freeSlots_.back();
    freeSlots_.pop_back();
    return slot;
}

void FileListModel::reindexRows(int first, int last)
{
    for (int row = first; row <= last; ++row)
        rowOfSlot_[static_cast<std::size_t>(rows_[static_cast<std::size_t>(row)].slot)] = row;
}

void FileListModel::sortByKey(int sortKey)
{
    const int column = std::abs(sortKey) - 1;
    // The keys are taken out of the rows once: comparing through data() would cost far more with many rows.
    std::vector<FileTime> stamps;
    std::vector<int> ranks;
    if (column == ColModified || column == ColCreated) {
        stamps.reserve(rows_.size());
        for (const Row& row : rows_)
            stamps.push_back(column == ColModified ? row.object->CurModified : row.object->CurCreated);
    } else if (column == ColAttr || column == ColPath) {
        std::vector<QString> texts;
        texts.reserve(rows_.size());
        for (const Row& row : rows_)
            texts.push_back(displayText(row, column));
        ranks = collationRanks(collator_, texts);
    }
    if (!nameRanksValid_)
        rankNames();
    std::vector<int> names;
    names.reserve(rows_.size());
    for (const Row& row : rows_)
        names.push_back(row.nameRank);
    const auto compare = [&](std::size_t a, std::size_t b) {
        int result = 0;
        if (!stamps.empty())
            result = CompareStamps(stamps[a], stamps[b]);
        else if (!ranks.empty())
            result = (ranks[a] > ranks[b]) - (ranks[a] < ranks[b]);
        if (result == 0)
            result = (names[a] > names[b]) - (names[a] < names[b]);
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
    reindexRows(0, rowCount() - 1);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void FileListModel::rankNames()
{
    std::vector<const QCollatorSortKey*> keys;
    keys.reserve(rows_.size());
    for (Row& row : rows_) {
        // Keyed once per row rather than at each sort, which would cost more than the sorting itself.
        if (!row.nameKey)
            row.nameKey = collator_.sortKey(folded(displayText(row, ColFilename)));
        keys.push_back(&*row.nameKey);
    }
    const std::vector<int> ranks = keyRanks(keys);
    for (std::size_t i = 0; i < rows_.size(); ++i)
        rows_[i].nameRank = ranks[i];
    nameRanksValid_ = true;
}

void FileListModel::setHeaderImage(int column, int image)
{
    if (column < 0 || column >= ColumnCount || headerImages_[column] == image)
        return;
    headerImages_[column] = image;
    emit headerDataChanged(Qt::Horizontal, column, column);
}
