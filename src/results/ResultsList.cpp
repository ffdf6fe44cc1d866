#include "ResultsList.h"

#include "MatchReason.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace velmora {

namespace {
const QString fileColumnHeader = QStringLiteral("File(s)");
}

QString resultsListHint() {
    return QStringLiteral("Move | line to right and out of window to reveal full names.");
}

ResultsList::ResultsList(QObject* parent) : QAbstractTableModel(parent) {}

void ResultsList::Clear() {
    setRows({});
}

void ResultsList::Add(const QString& path) {
    const int row = static_cast<int>(rows_.size());
    beginInsertRows(QModelIndex(), row, row);
    rows_.push_back({path, false});
    endInsertRows();
}

int ResultsList::Count() const {
    return static_cast<int>(rows_.size());
}

std::size_t ResultsList::checkedIndex(int position) const {
    if (position < 1 || position > Count())
        throw std::out_of_range("Index out of bounds");
    return static_cast<std::size_t>(position - 1);
}

QString ResultsList::Text(int position) const {
    return rows_[checkedIndex(position)].path;
}

bool ResultsList::Checked(int position) const {
    return rows_[checkedIndex(position)].checked;
}

void ResultsList::SetChecked(int position, bool checked) {
    ResultRow& row = rows_[checkedIndex(position)];
    if (row.checked == checked)
        return;
    row.checked = checked;
    const QModelIndex changed = index(position - 1, 0);
    emit dataChanged(changed, changed, {Qt::CheckStateRole});
}

void ResultsList::Remove(int position) {
    const std::size_t at = checkedIndex(position);
    beginRemoveRows(QModelIndex(), position - 1, position - 1);
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(at));
    endRemoveRows();
}

QStringList ResultsList::ColumnHeaders() const {
    return {fileColumnHeader};
}

void ResultsList::setRows(std::vector<ResultRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    contentFacts_.clear();
    contentsCompared_ = false;
    endResetModel();
    emit rowsReplaced();
}

void ResultsList::startContentFacts() {
    contentFacts_.clear();
    contentsCompared_ = true;
}

void ResultsList::addContentFacts(const std::vector<RowContentFact>& facts) {
    for (const RowContentFact& each : facts)
        contentFacts_.insert({each.path, each.partner}, each.fact);
}

const ContentFact* ResultsList::contentFactOf(const ResultRow& row) const {
    const auto found = contentFacts_.constFind({row.path, row.partner});
    return found == contentFacts_.constEnd() ? nullptr : &*found;
}

void ResultsList::setRunOptions(const SearchOptions& options, PathStyle style) {
    runOptions_ = options;
    runStyle_ = style;
}

QStringList ResultsList::checkedPaths() const {
    QStringList paths;
    for (const ResultRow& row : rows_)
        if (row.checked)
            paths << row.path;
    return paths;
}

void ResultsList::setCheckedRange(int first, int last, bool checked) {
    if (first > last)
        return;
    const std::size_t begin = checkedIndex(first);
    const std::size_t end = checkedIndex(last) + 1;
    for (std::size_t at = begin; at < end; ++at)
        rows_[at].checked = checked;
    emit dataChanged(index(first - 1, 0), index(last - 1, 0), {Qt::CheckStateRole});
}

void ResultsList::removePositions(std::vector<int> positions) {
    for (int position : positions)
        checkedIndex(position); // validate all before changing anything
    if (positions.empty())
        return;
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());

    beginResetModel();
    std::vector<ResultRow> kept;
    kept.reserve(rows_.size() - positions.size());
    auto next = positions.begin();
    for (std::size_t at = 0; at < rows_.size(); ++at) {
        if (next != positions.end() && static_cast<std::size_t>(*next - 1) == at) {
            ++next;
            continue;
        }
        kept.push_back(std::move(rows_[at]));
    }
    rows_ = std::move(kept);
    endResetModel();
}

int ResultsList::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Count();
}

int ResultsList::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 1;
}

QVariant ResultsList::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.column() != 0 || index.row() >= Count())
        return {};
    const ResultRow& row = rows_[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return row.path;
    case Qt::CheckStateRole:
        return row.checked ? Qt::Checked : Qt::Unchecked;
    case Qt::ToolTipRole: {
        // None for a row without a partner, so the list's own hint shows instead.
        const QString tip = resultRowToolTip(row, runOptions_, runStyle_, contentFactOf(row));
        return tip.isEmpty() ? QVariant()
                             : QVariant(tip + QStringLiteral("\n\n") + resultsListHint());
    }
    default:
        return {};
    }
}

// Only the tick can be changed from the view: the user clicks the row's check box.
bool ResultsList::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || !index.isValid() || index.column() != 0 ||
        index.row() >= Count())
        return false;
    SetChecked(index.row() + 1, value.toInt() != Qt::Unchecked);
    return true;
}

Qt::ItemFlags ResultsList::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable |
           Qt::ItemNeverHasChildren;
}

QVariant ResultsList::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && section == 0 && role == Qt::DisplayRole)
        return fileColumnHeader;
    return {};
}

} // namespace velmora
