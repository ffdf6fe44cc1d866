#pragma once

#include "FileDialogs.h"

#include <QSize>
#include <QStringList>

#include <memory>

class QFileDialog;

namespace velmora {

// The size a file dialog opens at: large enough for its name, size, type and date columns,
// or the size the user last gave one in this run of the program.
class DialogSize {
public:
    static constexpr QSize initial{900, 560};

    void applyTo(QFileDialog& dialog) const;
    // Shows the dialog and waits for it; keeps the size the user left it at. True when
    // the user accepted it.
    bool show(QFileDialog& dialog);

private:
    QSize size_ = initial;
};

class QtFileDialogs : public FileDialogs {
public:
    // Characters the open dialog's result may hold; a larger selection is refused as a
    // whole rather than cut short.
    static constexpr qsizetype selectionCapacity = 4 * 1024 * 1024;

    QString openFiles(const QString& title, const QString& filter) override;
    QString saveFile(const QString& title, const QString& filter) override;

    // The dialogs as openFiles and saveFile run them, ready to be opened.
    std::unique_ptr<QFileDialog> openDialog(const QString& title, const QString& filter) const;
    std::unique_ptr<QFileDialog> saveDialog(const QString& title, const QString& filter) const;

private:
    DialogSize size_;
};

class QtFolderBrowser : public FolderBrowser {
public:
    QString askForFolder(const QString& prompt, const QString& startFolder) override;

    std::unique_ptr<QFileDialog> folderDialog(const QString& prompt,
                                              const QString& startFolder) const;

private:
    DialogSize size_;
};

// Turns a filter written as "description|pattern|description|pattern|" into the
// toolkit's name filters. "*.*" becomes "*", so files without a dot are offered too.
QStringList nameFiltersFromBarList(const QString& filter);

// The open dialog's result for the chosen files: the single path, or the folder they are
// in followed by each name relative to it, all separated by NUL characters. Throws
// SelectionTooLarge when that text would be longer than capacity.
QString composeSelection(const QStringList& paths, qsizetype capacity);

} // namespace velmora
