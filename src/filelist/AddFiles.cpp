#include "AddFiles.h"

#include "ErrorTrap.h"
#include "FileSystem.h"
#include "PathSeparators.h"

#include <QStringList>

namespace velmora {

namespace {

const QString dialogTitle = QStringLiteral("Add File(s) - Hold Ctrl to select multiple files");
const QString dialogFilter = QStringLiteral("All Files (*.*)|*.*|");

QString badCharactersMessage(const QString& path) {
    return path +
           QStringLiteral("\r\rwas not added because it has bad characters in the filename.");
}

const QString tooManyFilesMessage = QStringLiteral(
    "You've selected too many files to add.\r\rPlease try adding via the \"Add All\" button.");

} // namespace

bool AttributesUnreadable(const QString& path) {
    return !readAttributeBits(path).has_value();
}

void PushButton1_Click(FileDialogs& dialogs, MessageBoxes& messages, FileList& list,
                       PathStyle style) {
    ErrorTrap trap(messages, QStringLiteral("Form1"), QStringLiteral("PushButton1_Click"));

    QString fileName;
    bool tooLarge = false;
    trap.step(108, [&] {
        try {
            fileName = dialogs.openFiles(dialogTitle, dialogFilter);
        } catch (const SelectionTooLarge&) {
            tooLarge = true;
        }
    });
    if (tooLarge) {
        messages.show(tooManyFilesMessage);
        return;
    }
    if (fileName.isEmpty())
        return;

    QStringList parts;
    trap.step(112, [&] { parts = fileName.split(QChar(u'\0')); });
    if (parts.size() <= 1) {
        // One file: the dialog gives its full path, taken as it is.
        const QString path = parts.value(0);
        trap.step(118, [&] {
            if (!AttributesUnreadable(path))
                list.Add(path);
            else
                messages.show(badCharactersMessage(path));
        });
        return;
    }

    // Accepted files are appended in batches, so a large selection reaches the list view
    // in one insertion rather than one per file; a refusal message first shows what
    // came before it.
    QStringList accepted;
    const QString separator(QChar(separatorOf(style)));
    for (qsizetype i = 1; i < parts.size(); ++i) {
        QString path;
        trap.step(132, [&] { path = parts.at(0) + separator + parts.at(i); });
        trap.step(134, [&] { path = NormalizePathSeparators(path, style); });
        trap.step(136, [&] {
            if (!AttributesUnreadable(path)) {
                accepted.append(path);
                return;
            }
            list.addMany(accepted);
            accepted.clear();
            messages.show(badCharactersMessage(path));
        });
    }
    trap.step(140, [&] { list.addMany(accepted); });
}

} // namespace velmora
