#include "TrashUndo.h"

#include "QtDesktop.h"

#include <QHash>

#include <algorithm>
#include <utility>

namespace velmora {

namespace {
constexpr int kListedFiles = 20;
}

TrashUndo::TrashUndo(ResultsList& list, QObject* parent) : QObject(parent), list_(list) {
    connect(&list_, &QAbstractItemModel::modelReset, this, &TrashUndo::forget);
    connect(&list_, &QAbstractItemModel::rowsInserted, this, &TrashUndo::forget);
    connect(&list_, &QAbstractItemModel::rowsRemoved, this, &TrashUndo::forget);
}

void TrashUndo::forget() {
    if (!changingList_)
        pending_.clear();
}

void TrashUndo::record(std::vector<TrashedRow> rows) {
    std::sort(rows.begin(), rows.end(),
              [](const TrashedRow& a, const TrashedRow& b) { return a.position < b.position; });
    pending_ = std::move(rows);
}

TrashUndo::Report TrashUndo::undo() {
    Report report;
    if (pending_.empty())
        return report;

    // Taken in ascending order, each row's place is its old position less the rows
    // before it that are still missing, so the list comes back as it was even when some
    // files have to stay in the trash.
    // Rows of one file shown under two paths share its trashed file, which is put back
    // once for both.
    std::vector<ResultRow> rows = list_.rows();
    std::vector<TrashedRow> stillTrashed;
    QHash<QString, bool> restoredFiles;
    for (const TrashedRow& trashed : pending_) {
        auto restored = restoredFiles.constFind(trashed.trashedFile);
        if (restored == restoredFiles.constEnd()) {
            const RestoreOutcome outcome = restoreFromTrash(trashed.trashedFile);
            const bool back = outcome.result == RestoreOutcome::Result::Restored;
            if (back) {
                ++report.restored;
            } else {
                const QString name =
                    outcome.originalPath.isEmpty() ? trashed.row.path : outcome.originalPath;
                report.notRestored << name + QStringLiteral(": ") + outcome.reason;
            }
            restored = restoredFiles.insert(trashed.trashedFile, back);
        }
        if (!restored.value()) {
            stillTrashed.push_back(trashed);
            continue;
        }
        const auto missingBefore = static_cast<int>(stillTrashed.size());
        const auto at = std::clamp<std::ptrdiff_t>(trashed.position - 1 - missingBefore, 0,
                                                   static_cast<std::ptrdiff_t>(rows.size()));
        rows.insert(rows.begin() + at, trashed.row);
    }
    if (report.restored > 0) {
        changingList_ = true;
        list_.setRows(std::move(rows));
        changingList_ = false;
    }
    pending_ = std::move(stillTrashed);
    return report;
}

QString TrashUndo::notRestoredText(const QStringList& notRestored) {
    if (notRestored.isEmpty())
        return {};
    QString text = QStringLiteral("These files were left in the trash:\n");
    for (qsizetype index = 0; index < notRestored.size() && index < kListedFiles; ++index)
        text += QLatin1Char('\n') + notRestored.at(index);
    if (notRestored.size() > kListedFiles)
        text += QStringLiteral("\n... and %1 more.").arg(notRestored.size() - kListedFiles);
    return text;
}

} // namespace velmora
