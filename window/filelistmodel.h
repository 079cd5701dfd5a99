// The rows of the file list: one touched file each, with its display texts, image and a fast index by path.
#pragma once

#include "core/touchedfile.h"

#include <QAbstractTableModel>
#include <QCollator>
#include <QIcon>
#include <QList>

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

// Distinct rows grouped into runs of consecutive rows, each as (first, last), in ascending order.
std::vector<std::pair<int, int>> rowRuns(std::vector<int> rows);

class FileListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column
    {
        ColFilename,
        ColModified,
        ColCreated,
        ColAttr,
        ColPath,
        ColumnCount
    };

    // Row images.
    enum Image
    {
        ImageListed,
        ImageTouched,
        ImageTouchFailed,
        ImageUndoFailed
    };
    // Header images.
    static constexpr int kHeaderPlain = 0;
    static constexpr int kHeaderAscending = 4;
    static constexpr int kHeaderDescending = 5;

    // Stamps are shown in the display format of `formats`.
    explicit FileListModel(DateTimeFormats formats, QObject* parent = nullptr);
    ~FileListModel() override;

    // The images of rows and headers (image numbers index this list).
    void setImages(const QList<QIcon>& images);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Dragged rows travel as their files' URLs, so that any drop target that takes files can read them.
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override;

    // Adds a row for the path, or gives the row that lists it a fresh object and image 0; returns its row. The row
    // keeps `listed`, the entry as it is now, for Undo.
    int AddFile(const std::string& path, EntrySnapshot listed);
    // Makes room for `count` more rows at once, so that a long run of adds does not grow the list step by step.
    void reserve(std::size_t count);
    // The row that lists a path, or -1. Paths are compared exactly: names that differ in letter case are two files.
    int findPath(const std::string& path) const;
    void removeRowsAt(std::vector<int> rows);
    void clear();
    // Moves the row to index `to`; the rows in between shift by one toward its old place.
    void moveRowTo(int row, int to);

    TouchedFile& object(int row) { return *rows_[static_cast<std::size_t>(row)].object; }
    const EntrySnapshot& listedState(int row) const { return rows_[static_cast<std::size_t>(row)].listed; }
    int rowImage(int row) const { return rows_[static_cast<std::size_t>(row)].image; }
    void setRowImage(int row, int image);
    // Shows the row's object as it now is. Its texts are read from the object when shown, and a part whose change
    // failed is as it was, so a failed column keeps its text.
    void refreshRow(int row);

    // Sorts by the column of |sortKey| (1-based), descending when negative, the file name breaking ties.
    void sortByKey(int sortKey);
    void setHeaderImage(int column, int image);
    int headerImage(int column) const { return headerImages_[column]; }

private:
    // Display texts are made from the object when shown, not kept: a view asks for the few rows it shows, and a row
    // that keeps none is quick to add.
    struct Row
    {
        std::unique_ptr<TouchedFile> object;
        EntrySnapshot listed; // the entry exactly as it was listed
        int slot = 0;         // where rowOfSlot_ keeps this row's number
        int image = ImageListed;
        // The file name's place in the collation order, made at the first sort by name that needs it.
        std::optional<QCollatorSortKey> nameKey;
        int nameRank = 0; // the same as a number, while nameRanksValid_
    };

    QString displayText(const Row& row, int column) const;
    // Numbers the rows' names in collation order, so that sorting compares numbers.
    void rankNames();
    int newSlot();
    // Points the index entries of the rows `first` to `last` at those rows.
    void reindexRows(int first, int last);

    const DateTimeFormats formats_;
    QCollator collator_; // the user's locale, letter case ignored
    std::vector<Row> rows_;
    // The path index leads to a slot that follows its row: sorting and moving rows renumber slots, not paths.
    std::unordered_map<std::string, int> pathIndex_;
    std::vector<int> rowOfSlot_;
    std::vector<int> freeSlots_;
    bool nameRanksValid_ = true; // until a new name comes in
    QList<QIcon> images_;
    int headerImages_[ColumnCount] = {};
};
