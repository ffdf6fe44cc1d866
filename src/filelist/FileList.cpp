#include "FileList.h"

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
