#pragma once

#include <QString>

#include <stdexcept>

namespace velmora {

// Thrown by FileDialogs::openFiles when the selection does not fit the dialog's buffer.
struct SelectionTooLarge : std::runtime_error {
    SelectionTooLarge() : std::runtime_error("The selection does not fit the dialog's buffer.") {}
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // Multi-select open dialog. Returns "" on Cancel, the full path for one file, or the
    // folder followed by each bare name, all separated by NUL characters, for several.
    // Throws SelectionTooLarge when that text would exceed the dialog's buffer.
    virtual QString openFiles(const QString& title, const QString& filter) = 0;
    // Save dialog: the chosen name exactly as given, or "" on Cancel.
    virtual QString saveFile(const QString& title, const QString& filter) = 0;
};

class FolderBrowser {
public:
    virtual ~FolderBrowser() = default;
    // Lets the user pick one file-system folder, opening with startFolder selected (none
    // when empty). The folder's path, or "" on Cancel.
    virtual QString askForFolder(const QString& prompt, const QString& startFolder) = 0;
};

} // namespace velmora
