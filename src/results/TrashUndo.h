#pragma once

#include "ResultsList.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <vector>

namespace velmora {

// A row that left the results list because its file went to the trash.
struct TrashedRow {
    int position = 0;    // where the row stood, 1-based, before any row of its action left
    ResultRow row;       // its text and tick
    QString trashedFile; // where the file lies in the trash
};

// Remembers the last trash action so it can be taken back: the files return to the
// places their trash records name and their rows to the positions they held. A file
// whose name has been taken again meanwhile stays in the trash and is named in the
// report; it can be tried again. Once the list is reloaded or cut by anyone else, the
// positions mean nothing any more and the action is forgotten.
class TrashUndo : public QObject {
    Q_OBJECT

public:
    explicit TrashUndo(ResultsList& list, QObject* parent = nullptr);

    // Replaces what is remembered. Rows may come in any order.
    void record(std::vector<TrashedRow> rows);
    bool canUndo() const { return !pending_.empty(); }
    const std::vector<TrashedRow>& pending() const { return pending_; }

    struct Report {
        int restored = 0;
        QStringList notRestored; // "path: reason", one for each file left in the trash
    };
    Report undo();

    // The one message for the files that could not be put back; empty when all were.
    static QString notRestoredText(const QStringList& notRestored);

private:
    void forget();

    ResultsList& list_;
    std::vector<TrashedRow> pending_;
    bool changingList_ = false;
};

} // namespace velmora
