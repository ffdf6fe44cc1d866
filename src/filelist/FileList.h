#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include <vector>

namespace velmora {

// The main window's candidate files, one full path per entry, in the order they were
// added. Duplicates are kept and nothing is ever sorted: the search reads the entries
// from first to last, so the order is part of what the user sees in the results.
//
// Positions are 1-based, as every caller counts them; rows of the model are 0-based.
class FileList : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { PathColumn = 0, HashColumn = 1, ColumnCount = 2 };

    explicit FileList(QObject* parent = nullptr);

    void Add(const QString& path);
    // The same as adding one by one, but announced to the views once, so a folder of a
    // million files does not cost a million row insertions.
    void addMany(const QStringList& paths);

    int Count() const { return static_cast<int>(paths_.size()); }
    // Throws std::out_of_range for a position outside 1..Count: a caller asking for an
    // entry that is not there has gone wrong, and the error trap should say so.
    QString Text(int position) const;
    void Remove(int position);
    void Clear();
    // Removes the entries at the given positions, which must be ascending and without
    // repeats. The result is that of removing them one by one from the last back, but in
    // one pass over the list and one announcement to the views: a filter over a million
    // entries must not move the rest of the list once per removed entry. Entries that stay
    // keep their identity (a dragged entry stays the dragged entry).
    void removePositions(const std::vector<int>& ascendingPositions);
    QStringList paths() const { return paths_; }

    // Swaps the paths of two entries; the entries themselves stay where they are.
    void exchangeTexts(int firstPosition, int secondPosition);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    void checkPosition(int position) const;

    QStringList paths_;
};

} // namespace velmora
