#pragma once

#include "FileDialogs.h"

#include <QStringList>

namespace velmora {

class QtFileDialogs : public FileDialogs {
public:
    // Characters the open dialog's result may hold; a larger selection is refused as a
    // whole rather than cut short.
    static constexpr qsizetype selectionCapacity = 4 * 1024 * 1024;

    QString openFiles(const QString& title, const QString& filter) override;
    QString saveFile(const QString& title, const QString& filter) override;
};

class QtFolderBrowser : public FolderBrowser {
public:
    QString askForFolder(const QString& prompt, const QString& startFolder) override;
};

// Turns a filter written as "description|pattern|description|pattern|" into the
// toolkit's name filters. "*.*" becomes "*", so files without a dot are offered too.
QStringList nameFiltersFromBarList(const QString& filter);

// The open dialog's result for the chosen files: the single path, or the folder they are
// in followed by each name relative to it, all separated by NUL characters. Throws
// SelectionTooLarge when that text would be longer than capacity.
QString composeSelection(const QStringList& paths, qsizetype capacity);

} // namespace velmora
