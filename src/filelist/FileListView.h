#pragma once

#include "FileList.h"
#include "FolderWalk.h"
#include "ListDrag.h"

#include <QTreeView>

#include <functional>
#include <optional>

namespace velmora {

// The main window's list of candidate files. Delete and double-click remove the current
// entry; pressing on an entry and moving drags its path to another place in the list.
// None of the gestures shows a message. Files and folders dragged from a file manager are
// taken in; any other drag is refused.
class FileListView : public QTreeView {
    Q_OBJECT

public:
    static constexpr int pathColumnTwips = 7000;

    explicit FileListView(FileList& list, QWidget* parent = nullptr);

    // The window's busy flag; Delete, double-click and drag exchanges do nothing while it
    // reports true.
    void setBusyQuery(std::function<bool()> isBusy);
    // Called on every pointer move over the list, so the window can apply its hover rule
    // (the default pointer unless busy).
    void setHoverHandler(std::function<void()> onHover);
    // Where drag.ico is looked up.
    void setApplicationFolder(const QString& folder);
    // What the walk of a dropped folder is given; by default it only yields to the window
    // system.
    void setFolderWalkHooks(FolderWalkHooks hooks);

    FileList& list() const { return list_; }

    // The current entry's position, or none.
    std::optional<int> Selected() const;
    // Makes an entry current and highlighted.
    void selectPosition(int position);

    // The entry whose row lies under a point of the viewport, or none. Only the row
    // counts: the path column may be narrower than the list.
    std::optional<int> hitTest(const QPoint& viewportPoint) const;

    // The gestures, as the mouse and key events call them.
    bool removeCurrentEntry(); // Delete key and double-click; true when an entry went
    void buttonPressed();
    void entryClicked();
    void pointerMoved(const QPoint& viewportPoint);
    void buttonReleased();

    bool listDragActive() const { return drag_.active(); }
    std::optional<int> listDragItem() const { return drag_.item(); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;

private:
    bool isBusy() const { return isBusy_ && isBusy_(); }
    int twipsToPixels(int twips) const;
    // Accepts a drag or drop that carries local files, with a copy action; ignores the rest,
    // so the pointer shows that nothing can be dropped.
    bool acceptLocalFiles(QDropEvent* event) const;

    FileList& list_;
    ListDrag drag_;
    std::function<bool()> isBusy_;
    std::function<void()> onHover_;
    QString applicationFolder_;
    FolderWalkHooks folderWalkHooks_;
};

} // namespace velmora
