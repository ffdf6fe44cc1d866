#include "FileListView.h"

#include "AccessibleFileList.h"
#include "DragScroll.h"
#include "FileDrop.h"
#include "WindowPointer.h"
#include "Yield.h"

#include <QDir>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

namespace velmora {

namespace {
const char* const hoverHint = "Drag and drop files here. Double-click item to remove it. Move | "
                              "line to right and out of window to reveal full names.";
}

FileListView::FileListView(FileList& list, QWidget* parent)
    : QTreeView(parent), list_(list), drag_(list) {
    setObjectName(QStringLiteral("ListView1"));
    installAccessibleFileList();
    setModel(&list_);
    setToolTip(QString::fromLatin1(hoverHint));

    // A flat report: no tree decoration, and rows of one height so that a million entries
    // cost no more to lay out than a screenful.
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSortingEnabled(false);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Alike names differ at their ends (" (1)", "v2", "final"): a path cut short keeps them.
    setTextElideMode(Qt::ElideMiddle);
    // Entries are never dragged out of the list by the widget itself: a press and move
    // reorders them instead. Drops from outside are a separate matter and stay possible.
    setDragEnabled(false);
    // Pointer moves without a button still count: the window's hover rule runs on them.
    setMouseTracking(true);
    // Drops from a file manager are taken in by the handlers below, not by the model.
    setAcceptDrops(true);
    setDropIndicatorShown(false);
    folderWalkHooks_.yield = yieldToWindowSystem;

    QHeaderView* columns = header();
    columns->setStretchLastSection(false);
    columns->setSectionsMovable(false);
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->resizeSection(FileList::PathColumn, twipsToPixels(pathColumnTwips));
    // The second column is there, collapsed: the user can widen it, and finds it empty.
    columns->resizeSection(FileList::HashColumn, 0);
}

// The tree's own versions of the two below tell screen readers about the entry by a child
// number that counts the collapsed column; they are told about the entry's one cell instead.
void FileListView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QAbstractItemView::currentChanged(current, previous);
    // The focus is drawn across the whole row, so the whole row is redrawn.
    for (const QModelIndex& changed : {previous, current}) {
        if (changed.isValid()) {
            const QRect cell = visualRect(changed);
            viewport()->update(0, cell.top(), viewport()->width(), cell.height());
        }
    }
    announceEntry(*this, QAccessible::Focus, current);
}

void FileListView::selectionChanged(const QItemSelection& selected,
                                    const QItemSelection& deselected) {
    QAbstractItemView::selectionChanged(selected, deselected);
    announceEntry(*this, QAccessible::SelectionAdd, selected.indexes().value(0));
    announceEntry(*this, QAccessible::SelectionRemove, deselected.indexes().value(0));
}

int FileListView::twipsToPixels(int twips) const {
    return twips * logicalDpiX() / 1440;
}

void FileListView::setBusyQuery(std::function<bool()> isBusy) {
    isBusy_ = std::move(isBusy);
}

void FileListView::setHoverHandler(std::function<void()> onHover) {
    onHover_ = std::move(onHover);
}

void FileListView::setApplicationFolder(const QString& folder) {
    applicationFolder_ = folder;
}

void FileListView::setFolderWalkHooks(FolderWalkHooks hooks) {
    folderWalkHooks_ = std::move(hooks);
}

std::optional<int> FileListView::Selected() const {
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return std::nullopt;
    return current.row() + 1;
}

void FileListView::selectPosition(int position) {
    if (position < 1 || position > list_.Count())
        return;
    setCurrentIndex(list_.index(position - 1, FileList::PathColumn));
}

std::optional<int> FileListView::hitTest(const QPoint& viewportPoint) const {
    // Outside the viewport nothing is hit, even while the mouse is grabbed: rows scrolled
    // out of sight must not trade places with the dragged entry.
    if (viewportPoint.y() < 0 || viewportPoint.y() >= viewport()->height())
        return std::nullopt;
    for (int column = 0; column < FileList::ColumnCount; ++column) {
        if (columnWidth(column) <= 0)
            continue;
        const QModelIndex hit = indexAt(QPoint(columnViewportPosition(column), viewportPoint.y()));
        if (hit.isValid())
            return hit.row() + 1;
        return std::nullopt;
    }
    return std::nullopt;
}

bool FileListView::removeCurrentEntry() {
    if (isBusy() || list_.Count() == 0)
        return false;
    const std::optional<int> current = Selected();
    if (!current)
        return false;
    list_.Remove(*current);
    return true;
}

void FileListView::buttonPressed() {
    drag_.press();
}

void FileListView::entryClicked() {
    QCursor dragPointer;
    if (loadPointerImage(QDir(applicationFolder_).filePath(QStringLiteral("drag.ico")),
                         dragPointer))
        viewport()->setCursor(dragPointer);
    setDragEnabled(false);
    drag_.setItem(Selected());
}

void FileListView::pointerMoved(const QPoint& viewportPoint) {
    if (!isBusy() && onHover_)
        onHover_();
    if (!drag_.active())
        return;
    // While a long operation runs (a filter walking the positions, say) the entries must
    // not change places under it.
    if (isBusy())
        return;
    const std::optional<int> exchanged = drag_.step(hitTest(viewportPoint));
    if (!exchanged)
        return;
    selectPosition(*exchanged);
    int band = rowHeight(list_.index(*exchanged - 1, FileList::PathColumn));
    if (band <= 0)
        band = fontMetrics().height();
    const std::optional<int> target =
        dragScrollTarget(viewportPoint.y(), viewport()->height(), band, *exchanged, list_.Count());
    if (target)
        scrollTo(list_.index(*target - 1, FileList::PathColumn));
}

void FileListView::buttonReleased() {
    drag_.release();
    viewport()->setCursor(Qt::ArrowCursor);
}

void FileListView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete) {
        removeCurrentEntry();
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void FileListView::mousePressEvent(QMouseEvent* event) {
    buttonPressed();
    QTreeView::mousePressEvent(event);
    const std::optional<int> hit = hitTest(event->position().toPoint());
    if (!hit)
        return;
    if (Selected() != hit)
        selectPosition(*hit);
    entryClicked();
}

void FileListView::mouseMoveEvent(QMouseEvent* event) {
    pointerMoved(event->position().toPoint());
    // With a button down the move belongs to the reorder; the widget's own rubber-band
    // selection and drag start would fight it.
    if (event->buttons() == Qt::NoButton)
        QTreeView::mouseMoveEvent(event);
}

void FileListView::mouseReleaseEvent(QMouseEvent* event) {
    QTreeView::mouseReleaseEvent(event);
    buttonReleased();
}

void FileListView::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeView::mouseDoubleClickEvent(event);
    removeCurrentEntry();
}

bool FileListView::acceptLocalFiles(QDropEvent* event) const {
    const std::optional<Qt::DropAction> action = dropActionFor(event->possibleActions());
    if (!event->mimeData() || !action || droppedLocalPaths(*event->mimeData()).isEmpty()) {
        event->ignore();
        return false;
    }
    event->setDropAction(*action);
    event->accept();
    return true;
}

void FileListView::dragEnterEvent(QDragEnterEvent* event) {
    acceptLocalFiles(event);
}

void FileListView::dragMoveEvent(QDragMoveEvent* event) {
    acceptLocalFiles(event);
}

void FileListView::dragLeaveEvent(QDragLeaveEvent* event) {
    event->accept();
}

void FileListView::dropEvent(QDropEvent* event) {
    if (!acceptLocalFiles(event))
        return;
    // The source is answered first and the files are taken in afterwards: a large folder
    // would otherwise hold the file manager's drag open until its walk ends, and the walk
    // yields to the window system, which must not happen inside the drop's own delivery.
    const QStringList paths = droppedLocalPaths(*event->mimeData());
    QMetaObject::invokeMethod(
        this,
        [this, paths] { ListView1_OLEDragDrop(paths, list_, PathStyle::Posix, folderWalkHooks_); },
        Qt::QueuedConnection);
}

} // namespace velmora
