#include "FileList.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace velmora {

FileList::FileList(QObject* parent) : QAbstractTableModel(parent) {}

void FileList::Add(const QString& path) {
    const int row = Count();
    beginInsertRows(QModelIndex(), row, row);
    paths_.append(path);
    endInsertRows();
}

void FileList::addMany(const QStringList& paths) {
    if (paths.isEmpty())
        return;
    const int first = Count();
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(paths.size()) - 1);
    paths_.append(paths);
    endInsertRows();
}

void FileList::checkPosition(int position) const {
    if (position < 1 || position > Count())
        throw std::out_of_range("Invalid file list position " + std::to_string(position));
}

QString FileList::Text(int position) const {
    checkPosition(position);
    return paths_.at(position - 1);
}

void FileList::Remove(int position) {
    checkPosition(position);
    const int row = position - 1;
    beginRemoveRows(QModelIndex(), row, row);
    paths_.removeAt(row);
    endRemoveRows();
}

void FileList::Clear() {
    // A reset rather than a removal of every row: views and persistent indexes let go of
    // everything at once, which is what a drag in progress must notice.
    beginResetModel();
    paths_.clear();
    endResetModel();
}

void FileList::removePositions(const std::vector<int>& ascendingPositions) {
    if (ascendingPositions.empty())
        return;
    // Checked before anything changes, so a bad request leaves the list as it was.
    int previous = 0;
    for (const int position : ascendingPositions) {
        checkPosition(position);
        if (position <= previous)
            throw std::invalid_argument("File list positions to remove must be ascending");
        previous = position;
    }

    // The rows change in number, so the views are told the layout changed and the
    // persistent indexes (the current entry, the dragged entry) are carried to their new
    // rows by hand; a model reset would forget them.
    emit layoutAboutToBeChanged();
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before) {
        const int row = index.row();
        const auto removedUpTo =
            std::upper_bound(ascendingPositions.begin(), ascendingPositions.end(), row + 1);
        const bool removed =
            removedUpTo != ascendingPositions.begin() && *(removedUpTo - 1) == row + 1;
        if (removed)
            after.append(QModelIndex());
        else
            after.append(createIndex(
                row - static_cast<int>(removedUpTo - ascendingPositions.begin()), index.column()));
    }

    qsizetype kept = 0;
    auto next = ascendingPositions.begin();
    for (qsizetype row = 0; row < paths_.size(); ++row) {
        if (next != ascendingPositions.end() && *next == row + 1) {
            ++next;
            continue;
        }
        if (kept != row)
            paths_[kept] = std::move(paths_[row]);
        ++kept;
    }
    paths_.resize(kept);

    changePersistentIndexList(before, after);
    emit layoutChanged();
}

void FileList::exchangeTexts(int firstPosition, int secondPosition) {
    checkPosition(firstPosition);
    checkPosition(secondPosition);
    if (firstPosition == secondPosition)
        return;
    const int firstRow = firstPosition - 1;
    const int secondRow = secondPosition - 1;
    paths_.swapItemsAt(firstRow, secondRow);
    emit dataChanged(index(firstRow, PathColumn), index(firstRow, PathColumn), {Qt::DisplayRole});
    emit dataChanged(index(secondRow, PathColumn), index(secondRow, PathColumn), {Qt::DisplayRole});
}

int FileList::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Count();
}

int FileList::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant FileList::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= Count())
        return {};
    // The hash column exists for its header only; no entry ever has a value there.
    if (index.column() != PathColumn)
        return {};
    if (role == Qt::DisplayRole)
        return paths_.at(index.row());
    return {};
}

QVariant FileList::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case PathColumn:
        return QStringLiteral("File(s)");
    case HashColumn:
        return QStringLiteral("Hash");
    default:
        return {};
    }
}

Qt::ItemFlags FileList::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

} // namespace velmora
