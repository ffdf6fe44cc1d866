#include "QtDesktop.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QFile>
#include <QGuiApplication>
#include <QUrl>

#include <sys/stat.h>

namespace velmora {

namespace {

// A dangling link is still a name in its folder, so presence is judged without following.
bool nameIsPresent(const QString& path) {
    struct stat status {};
    return lstat(QFile::encodeName(path).constData(), &status) == 0;
}

} // namespace

bool QtClipboard::clear() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    clipboard->clear();
    return true;
}

bool QtClipboard::setText(const QString& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    clipboard->setText(text);
    // Reading back tells whether the system took the text.
    return clipboard->text() == text;
}

std::vector<RecycleOutcome> QtDesktopShell::recycle(const QStringList& paths) {
    std::vector<RecycleOutcome> outcomes;
    outcomes.reserve(static_cast<std::size_t>(paths.size()));
    for (const QString& path : paths) {
        RecycleOutcome outcome;
        outcome.path = path;
        if (path.isEmpty()) {
            outcome.reason = QStringLiteral("The path is empty.");
        } else if (!nameIsPresent(path)) {
            outcome.gone = true; // nothing left to move
        } else {
            QFile file(path);
            const bool moved = file.moveToTrash();
            outcome.gone = !nameIsPresent(path);
            if (!outcome.gone)
                outcome.reason = moved ? QStringLiteral("The file is still there after it was "
                                                        "moved to the trash.")
                                       : file.errorString();
        }
        outcomes.push_back(outcome);
    }
    return outcomes;
}

void QtDesktopShell::openFolder(const QString& folder) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

} // namespace velmora
