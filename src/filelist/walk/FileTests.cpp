#include "FileSystem.h"
#include "FolderWalk.h"

#include <QFile>

#include <sys/stat.h>

namespace velmora {

QStringList ListFilesInFolder(const QString& folder, const QString& pattern, PathStyle style) {
    const QChar separator(separatorOf(style));
    const QString prefix = folder.endsWith(separator) ? folder : folder + separator;
    QStringList openable;
    for (const QString& name : listFiles(prefix, pattern)) {
        if (FileCanBeOpened(prefix + name))
            openable.append(name);
    }
    return openable;
}

bool FileCanBeOpened(const QString& path) {
    return canOpenFile(path);
}

bool IsFolder(const QString& path) {
    const std::optional<int> attributes = readAttributeBits(path);
    return attributes && (*attributes & Directory) != 0;
}

bool IsSpecialFile(const QString& path) {
    struct stat status {};
    return stat(QFile::encodeName(path).constData(), &status) == 0 && !S_ISDIR(status.st_mode) &&
           !S_ISREG(status.st_mode);
}

bool HasBadCharacters(const QString& name) {
    for (const QChar character : name) {
        const char16_t code = character.unicode();
        if (code < 32 || (code >= 127 && code <= 159) || code == u'?')
            return true;
    }
    return false;
}

} // namespace velmora
