#include "AccessibleFileList.h"

#include "FileListView.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QHeaderView>
#include <QPersistentModelIndex>
#include <QPointer>

#include <algorithm>

namespace velmora {

namespace {

constexpr int spokenColumn = FileList::PathColumn;

int headerCellCount(const QTreeView& view) {
    return view.isHeaderHidden() ? 0 : 1;
}

// What both kinds of cell share: no children, no object of their own, and the list's
// table as their parent.
class ListCell : public QAccessibleInterface {
public:
    explicit ListCell(FileListView* view) : view_(view) {}

    QObject* object() const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(view_.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    void setText(QAccessible::Text, const QString&) override {}

    const FileListView* view() const { return view_; }

protected:
    QPointer<FileListView> view_;
};

class HeaderCell : public ListCell {
public:
    using ListCell::ListCell;

    bool isValid() const override { return !view_.isNull(); }
    QAccessible::Role role() const override { return QAccessible::ColumnHeader; }
    QAccessible::State state() const override { return {}; }
    QString text(QAccessible::Text kind) const override {
        if (kind != QAccessible::Name || !view_)
            return {};
        return view_->list().headerData(spokenColumn, Qt::Horizontal).toString();
    }
    QRect rect() const override {
        if (!view_)
            return {};
        const QHeaderView* header = view_->header();
        const QPoint topLeft(header->sectionViewportPosition(spokenColumn), 0);
        return QRect(header->viewport()->mapToGlobal(topLeft),
                     QSize(header->sectionSize(spokenColumn), header->height()));
    }
};

// An entry's path. It follows its entry while others come and go before it.
class EntryCell : public ListCell, public QAccessibleTableCellInterface {
public:
    EntryCell(FileListView* view, const QModelIndex& entry) : ListCell(view), entry_(entry) {}

    bool isValid() const override { return view_ && entry_.isValid(); }
    QAccessible::Role role() const override { return QAccessible::TreeItem; }
    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Name ? entry_.data().toString() : QString();
    }
    QRect rect() const override {
        if (!isValid())
            return {};
        const QRect cell = view_->visualRect(entry_);
        return QRect(view_->viewport()->mapToGlobal(cell.topLeft()), cell.size());
    }
    QAccessible::State state() const override {
        QAccessible::State state;
        if (!isValid())
            return state;
        state.selectable = state.focusable = true;
        state.selected = isSelected();
        state.focused = view_->currentIndex().row() == entry_.row();
        state.invisible = !view_->viewport()->rect().intersects(view_->visualRect(entry_));
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TableCellInterface
                   ? static_cast<QAccessibleTableCellInterface*>(this)
                   : nullptr;
    }

    bool isSelected() const override {
        return isValid() && view_->selectionModel()->isSelected(entry_);
    }
    QList<QAccessibleInterface*> columnHeaderCells() const override {
        QAccessibleInterface* list = table();
        if (!list || headerCellCount(*view_) == 0)
            return {};
        return {list->child(0)};
    }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return 0; }
    int rowIndex() const override { return entry_.row(); }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

private:
    QPersistentModelIndex entry_;
};

class AccessibleFileList : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit AccessibleFileList(FileListView* view) : QAccessibleWidget(view, QAccessible::Tree) {}
    ~AccessibleFileList() override { forgetCells(); }

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TableInterface ? static_cast<QAccessibleTableInterface*>(this)
                                                   : QAccessibleWidget::interface_cast(type);
    }

    int childCount() const override { return headerCellCount(*view()) + rowCount(); }
    QAccessibleInterface* child(int index) const override {
        const int headers = headerCellCount(*view());
        if (index < 0 || index >= childCount())
            return nullptr;
        return index < headers ? headerCell() : entryCell(index - headers);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const auto* cell = dynamic_cast<const ListCell*>(child);
        if (!cell || !cell->isValid() || cell->view() != view())
            return -1;
        if (const auto* entry = dynamic_cast<const EntryCell*>(cell))
            return headerCellCount(*view()) + entry->rowIndex();
        return headerCellCount(*view()) > 0 ? 0 : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint point(x, y);
        const QHeaderView* header = view()->header();
        if (headerCellCount(*view()) > 0 && header->rect().contains(header->mapFromGlobal(point)))
            return headerCell();
        const QModelIndex hit = view()->indexAt(view()->viewport()->mapFromGlobal(point));
        return hit.isValid() ? entryCell(hit.row()) : nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        const QModelIndex current = view()->currentIndex();
        return current.isValid() ? entryCell(current.row()) : nullptr;
    }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override {
        if (column != 0 || row < 0 || row >= rowCount())
            return nullptr;
        return entryCell(row);
    }
    int selectedCellCount() const override { return selectedRowCount(); }
    QList<QAccessibleInterface*> selectedCells() const override {
        QList<QAccessibleInterface*> cells;
        for (int row : selectedRows())
            cells << entryCell(row);
        return cells;
    }
    QString columnDescription(int column) const override {
        return column == 0 ? headerCell()->text(QAccessible::Name) : QString();
    }
    int columnCount() const override { return 1; }
    // Whole rows are chosen, never a column.
    int selectedColumnCount() const override { return 0; }
    QList<int> selectedColumns() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    QString rowDescription(int) const override { return {}; }
    int rowCount() const override { return view()->list().rowCount(); }
    int selectedRowCount() const override { return int(selectedRows().size()); }
    QList<int> selectedRows() const override {
        QList<int> rows;
        for (const QModelIndex& selected : view()->selectionModel()->selectedIndexes())
            if (selected.column() == spokenColumn)
                rows << selected.row();
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    bool isRowSelected(int row) const override {
        return view()->selectionModel()->isSelected(view()->list().index(row, spokenColumn));
    }
    bool selectRow(int row) override {
        if (row < 0 || row >= rowCount())
            return false;
        view()->selectPosition(row + 1);
        return true;
    }
    bool unselectRow(int row) override {
        if (!isRowSelected(row))
            return false;
        view()->selectionModel()->select(view()->list().index(row, spokenColumn),
                                         QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
        return true;
    }
    void modelChange(QAccessibleTableModelChangeEvent* event) override {
        // Cells read their text afresh; only entries coming or going make rows stale.
        if (event->modelChangeType() != QAccessibleTableModelChangeEvent::DataChanged)
            forgetCells();
    }

private:
    static constexpr int headerKey = -1;

    FileListView* view() const { return static_cast<FileListView*>(widget()); }

    QAccessibleInterface* remembered(int key) const {
        const auto found = cells_.constFind(key);
        return found == cells_.cend() ? nullptr : QAccessible::accessibleInterface(*found);
    }
    QAccessibleInterface* remember(int key, QAccessibleInterface* cell) const {
        cells_.insert(key, QAccessible::registerAccessibleInterface(cell));
        return cell;
    }
    QAccessibleInterface* headerCell() const {
        if (QAccessibleInterface* known = remembered(headerKey))
            return known;
        return remember(headerKey, new HeaderCell(view()));
    }
    // Readers keep the cells they are given, so a row answers with the same cell until its
    // entry moves: the one kept for a row may by now belong to another.
    QAccessibleInterface* entryCell(int row) const {
        if (auto* known = static_cast<EntryCell*>(remembered(row))) {
            if (known->isValid() && known->rowIndex() == row)
                return known;
            QAccessible::deleteAccessibleInterface(cells_.take(row));
        }
        return remember(row, new EntryCell(view(), view()->list().index(row, spokenColumn)));
    }
    void forgetCells() {
        for (const QAccessible::Id id : std::as_const(cells_))
            QAccessible::deleteAccessibleInterface(id);
        cells_.clear();
    }

    mutable QHash<int, QAccessible::Id> cells_;
};

QAccessibleInterface* accessibleFileList(const QString&, QObject* object) {
    if (auto* view = qobject_cast<FileListView*>(object))
        return new AccessibleFileList(view);
    return nullptr;
}

} // namespace

void installAccessibleFileList() {
    static const bool installed = [] {
        QAccessible::installFactory(accessibleFileList);
        return true;
    }();
    Q_UNUSED(installed);
}

void announceEntry(FileListView& view, QAccessible::Event kind, const QModelIndex& entry) {
    if (!QAccessible::isActive() || !entry.isValid())
        return;
    QAccessibleEvent event(&view, kind);
    event.setChild(headerCellCount(view) + entry.row());
    QAccessible::updateAccessibility(&event);
}

} // namespace velmora
