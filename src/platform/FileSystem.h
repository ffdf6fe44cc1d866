#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <stdexcept>

namespace velmora {

// Attribute bits as the program's logic knows them, mapped onto what a POSIX file system
// can tell: System is never set.
enum Attribute : int {
    ReadOnly = 1,
    Hidden = 2,
    System = 4,
    Directory = 16,
    Archive = 32,
    ReparsePoint = 1024,
};

// A numbered run-time failure, as the folder objects report them: the number is what
// callers test, the description what the error message shows.
class RuntimeError : public std::runtime_error {
public:
    static constexpr int PermissionDenied = 70;
    static constexpr int PathFileAccessError = 75;
    static constexpr int PathNotFound = 76;

    RuntimeError(int number, const QString& description);
    int number() const { return number_; }

private:
    int number_;
};

// The file's attribute bits, or nothing when the path cannot be examined (missing,
// inaccessible). A symbolic link reports ReparsePoint plus what it points at.
std::optional<int> readAttributeBits(const QString& path);

// True when the file's date and time can be read, that is when the path exists.
bool FileIsPresent(const QString& path);

// True for an existing non-directory (links followed) that the system lets us open; no
// data is read.
bool canOpenFile(const QString& path);

// Case-insensitive wildcard test: "*" matches any run, "?" one character. A pattern
// ending in ".*" also matches names without that dot, so "*.*" matches every name.
bool wildcardMatches(const QString& pattern, const QString& name);

// The non-directory entries of a folder (hidden ones included) whose names match the
// pattern, sorted case-insensitively. An unreadable folder gives an empty list.
QStringList listFiles(const QString& folder, const QString& pattern);

// A name as the program holds it: the characters its bytes on disk stand for, all of
// them (a leading U+FEFF included). Nothing for bytes that are not valid UTF-8: such a
// name cannot be held as text without changing it.
std::optional<QString> decodeFileName(const char* nativeName);

// Names sorted the way listings are: case-insensitively, ties broken by exact order.
void sortNames(QStringList& names);

// A folder as the folder walk sees it.
class FolderObject {
public:
    const QString& Path() const { return path_; }
    int Attributes() const;
    bool IsRootFolder() const;
    // The names of the real subfolders, sorted like listings. Symbolic links to folders
    // are left out: following them could walk in circles. Throws RuntimeError 70 when the
    // folder may not be read and 76 when it has vanished.
    QStringList SubFolders() const;

private:
    friend FolderObject GetFolder(const QString& path);
    explicit FolderObject(QString path) : path_(std::move(path)) {}
    QString path_;
};

// Throws RuntimeError 76 when the path is not an existing folder.
FolderObject GetFolder(const QString& path);

// The folder that holds the program.
QString applicationFolder();

} // namespace velmora
