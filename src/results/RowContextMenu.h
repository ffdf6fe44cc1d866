#pragma once

#include "ResultsList.h"
#include "Services.h"

#include <QMenu>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>

#include <optional>

class QModelIndex;
class QTableView;

namespace velmora {

// The menu a row of the results list offers: on a right click over the row, or on the
// Menu key or Shift+F10 for the current row. Its actions take the path the row held when
// the menu opened. Nothing else about clicking or keys in the list changes.
class RowContextMenu : public QObject {
    Q_OBJECT

public:
    // Lives as long as the view, which owns it.
    RowContextMenu(QTableView& view, const ResultsList& list, Services& services);

    // The menu while it is open; shown with popup(), so the window goes on meanwhile.
    QMenu* openMenu() const { return menu_; }

    static QString noLongerThereText(const QString& path);
    static QString noProgramToOpenText(const QString& path);
    static QString clipboardHeldText();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool popUp(const QModelIndex& row, std::optional<QPoint> globalPosition);
    void openFile(const QString& path);
    void showInFolder(const QString& path);
    void copyPath(const QString& path);
    bool stillThere(const QString& path);

    QTableView& view_;
    QObject* viewport_; // taken once: the view cannot be asked while it is destroyed
    const ResultsList& list_;
    Services& services_;
    QPointer<QMenu> menu_;
};

} // namespace velmora
