#pragma once

#include "Clipboard.h"
#include "DesktopShell.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace velmora {

class QtClipboard : public Clipboard {
public:
    bool clear() override;
    bool setText(const QString& text) override;
};

// The freedesktop.org trash stands in for the recycle bin. A file that cannot be moved
// there stays where it is: nothing is ever deleted outright.
class QtDesktopShell : public DesktopShell {
public:
    std::vector<RecycleOutcome> recycle(const QStringList& paths,
                                        const QStringList& keptPaths) override;
    void openFolder(const QString& folder) override;
    bool openFile(const QString& path) override;
    // Asks the file manager over the session bus; a desktop without one that answers
    // gets the folder opened as openFolder does.
    void showInFolder(const QString& path) override;
};

// The record the trash keeps beside a trashed file ("<trash>/info/<name>.trashinfo" for
// "<trash>/files/<name>").
QString trashInfoFile(const QString& trashedFile);

// The original path a .trashinfo record names, made absolute against the trash's own
// top folder when the record holds a relative one. Nothing when the record is missing
// or holds no path.
std::optional<QString> originalPathFromTrashInfo(const QString& infoFile);
std::optional<QString> originalPathFromTrashInfo(const QByteArray& record, const QString& infoFile);

struct RestoreOutcome {
    enum class Result { Restored, NameTaken, Failed };
    Result result = Result::Failed;
    QString originalPath; // where the file belongs, when the record could be read
    QString reason;       // why it stayed in the trash, for the message
};

// Moves a trashed file back to the path its record names, recreating missing folders.
// A name that has appeared at that path in the meantime is never replaced: the file then
// stays in the trash. The record is dropped once the file is back.
RestoreOutcome restoreFromTrash(const QString& trashedFile);

} // namespace velmora
