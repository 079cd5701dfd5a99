// The rows of the file list: one touched file each, with its display texts, image and a fast index by path.
#pragma once

#include "core/skobju.h"

#include <QAbstractTableModel>
#include <QIcon>
#include <QList>

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

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

    explicit FileListModel(QObject* parent = nullptr);
    ~FileListModel() override;

    // The images of rows and headers (image numbers index this list).
    void SetImages(const QList<QIcon>& images);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Adds a row for the path, or gives the row that lists it a fresh object and image 0; returns its row.
    int AddFile(const std::string& path, FileTime created, FileTime lastWrite, std::uint32_t attrs);
    // The row that lists a path, or -1. Paths are compared exactly: names that differ in letter case are two files.
    int FindPath(const std::string& path) const;
    void RemoveRows(std::vector<int> rows);
    void Clear();
    // Swaps the row with its neighbour above (-1) or below (+1).
    void MoveRow(int row, int to);

    TskObj& Object(int row) { return *rows_[static_cast<std::size_t>(row)].object; }
    int RowImage(int row) const { return rows_[static_cast<std::size_t>(row)].image; }
    void SetRowImage(int row, int image);
    // Re-reads the row's texts from its object; a column whose change failed keeps its old text.
    void RefreshRow(int row, bool modified, bool created, bool attrs);

    // Sorts by the column of |sortKey| (1-based), descending when negative, the file name breaking ties.
    void Sort(int sortKey);
    void SetHeaderImage(int column, int image);

private:
    struct Row
    {
        std::unique_ptr<TskObj> object;
        int image = ImageListed;
        QString fileName;
        QString modified;
        QString created;
        QString attrs;
        QString folder;
    };

    void FillTexts(Row& row);
    void RebuildIndex();

    std::vector<Row> rows_;
    std::unordered_map<std::string, int> pathIndex_;
    QList<QIcon> images_;
    int headerImages_[ColumnCount] = {};
};
