#include "RowContextMenu.h"

#include "ClipboardRetry.h"
#include "ErrorTrap.h"
#include "FileSystem.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QTableView>

namespace velmora {

namespace {

bool isMenuKey(const QKeyEvent& key) {
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    return (key.key() == Qt::Key_Menu && modifiers == Qt::NoModifier) ||
           (key.key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier);
}

} // namespace

RowContextMenu::RowContextMenu(QTableView& view, const ResultsList& list, Services& services)
    : QObject(&view), view_(view), viewport_(view.viewport()), list_(list), services_(services) {
    view.installEventFilter(this);
    viewport_->installEventFilter(this);
}

QString RowContextMenu::noLongerThereText(const QString& path) {
    return QStringLiteral("\"%1\" is no longer there: it has been moved, renamed or deleted "
                          "since the search.\r\rSearch again to bring the list up to date.")
        .arg(path);
}

QString RowContextMenu::noProgramToOpenText(const QString& path) {
    return QStringLiteral("No program could be started to open \"%1\".\r\rChoose a program for "
                          "this type of file in your desktop's settings, or use Open Containing "
                          "Folder and open it from there.")
        .arg(path);
}

QString RowContextMenu::clipboardHeldText() {
    return QStringLiteral("The path could not be put on the clipboard: another program is "
                          "holding it.\r\rWait a moment or close that program, then choose Copy "
                          "Path again.");
}

bool RowContextMenu::eventFilter(QObject* watched, QEvent* event) {
    // The type first: while the view is being destroyed its events still pass here, and
    // it may no longer be asked anything.
    const bool menuEvent =
        event->type() == QEvent::ContextMenu || event->type() == QEvent::KeyPress;
    if (!menuEvent || (watched != &view_ && watched != viewport_))
        return false;
    if (event->type() == QEvent::ContextMenu) {
        const auto* request = static_cast<QContextMenuEvent*>(event);
        if (request->reason() != QContextMenuEvent::Mouse)
            return popUp(view_.currentIndex(), std::nullopt);
        // Below the last row, or over the header, there is no row to act on.
        const QPoint inViewport = view_.viewport()->mapFromGlobal(request->globalPos());
        return popUp(view_.indexAt(inViewport), request->globalPos());
    }
    // Not every window system turns these keys into a menu request of its own.
    if (event->type() == QEvent::KeyPress && isMenuKey(*static_cast<QKeyEvent*>(event)))
        return popUp(view_.currentIndex(), std::nullopt);
    return false;
}

// Without a position the menu is placed at the row itself, as the keyboard asks.
bool RowContextMenu::popUp(const QModelIndex& row, std::optional<QPoint> globalPosition) {
    if (!row.isValid() || row.row() >= list_.Count())
        return false;
    // A second request while the menu is open (the Menu key can arrive both as a key and
    // as a menu request) must not stack another menu on it.
    if (menu_ && menu_->isVisible())
        return true;
    if (!globalPosition) {
        view_.scrollTo(row);
        const QRect rect = view_.visualRect(row);
        globalPosition = view_.viewport()->mapToGlobal(QPoint(qMax(rect.left(), 0), rect.bottom()));
    }
    const QString path = list_.Text(row.row() + 1);
    auto* menu = new QMenu(&view_);
    menu->setObjectName(QStringLiteral("RowContextMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addAction(QStringLiteral("Open"), this, [this, path] { openFile(path); });
    menu->addAction(QStringLiteral("Open Containing Folder"), this,
                    [this, path] { showInFolder(path); });
    menu->addAction(QStringLiteral("Copy Path"), this, [this, path] { copyPath(path); });
    menu_ = menu;
    menu->popup(*globalPosition);
    return true;
}

// Launching a program for a name that is gone would only bring up its own, vaguer error.
bool RowContextMenu::stillThere(const QString& path) {
    if (FileIsPresent(path))
        return true;
    services_.messages.show(noLongerThereText(path), MessageBoxes::Buttons::Ok,
                            MessageBoxes::Icon::Exclamation);
    return false;
}

void RowContextMenu::openFile(const QString& path) {
    ErrorTrap trap(services_.messages, QStringLiteral("Form2"), QStringLiteral("ListView1_Open"));
    trap.step(100, [&] {
        if (stillThere(path) && !services_.shell.openFile(path))
            services_.messages.show(noProgramToOpenText(path), MessageBoxes::Buttons::Ok,
                                    MessageBoxes::Icon::Exclamation);
    });
}

void RowContextMenu::showInFolder(const QString& path) {
    ErrorTrap trap(services_.messages, QStringLiteral("Form2"),
                   QStringLiteral("ListView1_OpenContainingFolder"));
    trap.step(100, [&] {
        if (stillThere(path))
            services_.shell.showInFolder(path);
    });
}

void RowContextMenu::copyPath(const QString& path) {
    ErrorTrap trap(services_.messages, QStringLiteral("Form2"),
                   QStringLiteral("ListView1_CopyPath"));
    trap.step(100, [&] {
        if (!SetClipboardText(services_.clipboard, path))
            services_.messages.show(clipboardHeldText(), MessageBoxes::Buttons::Ok,
                                    MessageBoxes::Icon::Exclamation);
    });
}

} // namespace velmora
