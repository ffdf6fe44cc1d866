#include "FolderWalk.h"

#include "BeyondPathLimit.h"
#include "FileSystem.h"
#include "FolderReading.h"
#include "PathLimit.h"
#include "PathSeparators.h"
#include "WalkPacing.h"

#include <QFile>

#include <exception>
#include <optional>
#include <vector>

namespace velmora {

namespace {

// Folders carrying exactly these attributes are the system's own (directory + system +
// hidden, possibly a reparse point as well): the walk stays out of them.
constexpr int systemFolderAttributes = Directory | System | Hidden;
constexpr int linkedSystemFolderAttributes = systemFolderAttributes | ReparsePoint;

// A folder named the way the system would print it: without a trailing separator.
QByteArray nativeFolderPath(const QString& folderPath) {
    QByteArray native = QFile::encodeName(folderPath);
    if (native.size() > 1 && native.endsWith('/'))
        native.chop(1);
    return native;
}

struct WalkFolder {
    explicit WalkFolder(QString folderPath, bool foundByListing = false)
        : path(std::move(folderPath)), listed(foundByListing) {}

    QString path;        // ends in the separator
    bool listed = false; // found by reading its parent, so a real folder and not a link
    bool read = false;   // files holds what loading takes from it
    QStringList files;
};

class TreeWalk {
public:
    TreeWalk(PathStyle style, const FolderWalkHooks& hooks, WalkPacing& pacing,
             const QString* loadPattern)
        : separator_(separatorOf(style)), limit_(pathLimitOf(style)), hooks_(hooks),
          pacing_(pacing), loadPattern_(loadPattern) {}

    // The start folders followed by every folder below them, level by level.
    std::vector<WalkFolder> run(std::vector<WalkFolder> level, bool recurse) {
        std::vector<WalkFolder> all;
        for (;;) {
            std::vector<WalkFolder> found = readLevel(level);
            guarded(160, [&] {
                all.insert(all.end(), std::make_move_iterator(level.begin()),
                           std::make_move_iterator(level.end()));
            });
            if (pacing_.stopRequested())
                return all;
            if (!recurse) {
                // Nobody reads the folders found, so whether they are still folders the
                // walk may enter is checked here.
                for (WalkFolder& folder : found) {
                    pacing_.maybeYield();
                    if (pacing_.stopRequested())
                        break;
                    bool keep = false;
                    guarded(154, [&] { keep = IsFolder(folder.path) && mayEnter(folder.path); });
                    if (keep)
                        all.push_back(std::move(folder));
                }
                return all;
            }
            if (found.empty())
                return all;
            level = std::move(found);
        }
    }

    void tellLeftOut(FolderWalkHooks::LeftOut what, const QByteArray& nativePath) const {
        if (hooks_.leftOut)
            hooks_.leftOut(what, nativePath);
    }

    // The files of one folder's reading that loading had to leave out.
    void tellFilesLeftOut(const QString& folderPath, const FolderReading& reading) const {
        if (!hooks_.leftOut)
            return;
        const QByteArray folder = QFile::encodeName(folderPath);
        for (const QByteArray& name : reading.filesNotUtf8)
            tellLeftOut(FolderWalkHooks::LeftOut::FileNameNotUtf8, folder + name);
        for (const QByteArray& name : reading.filesNotAFile)
            tellLeftOut(FolderWalkHooks::LeftOut::NotAFile, folder + name);
        for (const QByteArray& name : reading.filesPathTooLong)
            tellLeftOut(FolderWalkHooks::LeftOut::PathTooLong, folder + name);
    }

private:
    // Reads every folder of one level once, keeping what loading takes from it, and
    // returns the subfolders found, grouped by parent in parent order. A folder that may
    // not be read or has vanished leaves the level.
    std::vector<WalkFolder> readLevel(std::vector<WalkFolder>& level) {
        std::vector<WalkFolder> found;
        QStringList unreadable;
        for (WalkFolder& folder : level) {
            pacing_.maybeYield();
            if (pacing_.stopRequested())
                break;
            if (!mayListSubfolders(folder))
                continue;
            FolderReading reading = readFolder(folder.path, loadPattern_, &pacing_);
            if (reading.outcome == FolderReading::Outcome::PermissionDenied ||
                reading.outcome == FolderReading::Outcome::Vanished) {
                if (reading.outcome == FolderReading::Outcome::PermissionDenied)
                    tellLeftOut(FolderWalkHooks::LeftOut::FolderUnreadable,
                                nativeFolderPath(folder.path));
                unreadable.append(folder.path);
                continue;
            }
            if (loadPattern_ && reading.outcome == FolderReading::Outcome::Complete) {
                folder.files = std::move(reading.files);
                folder.read = true;
                tellFilesLeftOut(folder.path, reading);
                if (reading.filesUnreachable)
                    tellLeftOut(FolderWalkHooks::LeftOut::FolderUnreadable,
                                nativeFolderPath(folder.path));
                tellBeyondPathLimit(folder.path, reading.subfoldersPathTooLong);
            }
            for (const QByteArray& name : reading.subfoldersNotUtf8)
                tellLeftOut(FolderWalkHooks::LeftOut::FolderNameNotUtf8,
                            QFile::encodeName(folder.path) + name);
            for (const QString& name : reading.subfolders) {
                if (isEnterable(name))
                    found.emplace_back(folder.path + name + separator_, true);
            }
        }
        for (const QString& path : unreadable)
            removeFirst(level, path);
        return found;
    }

    bool isEnterable(const QString& name) const {
        return name.size() < limit_ && !HasBadCharacters(name) &&
               !name.contains(QLatin1Char('?')) && name != QLatin1String(".") &&
               name != QLatin1String("..");
    }

    // Folders the walk cannot enter by path are walked through descriptors, only so that
    // each file loading misses there is told.
    void tellBeyondPathLimit(const QString& folderPath, const QList<QByteArray>& subfolders) {
        if (!hooks_.leftOut)
            return;
        const auto tell = [this](LoadRules::Verdict why, const QByteArray& nativePath) {
            tellLeftOut(why == LoadRules::Verdict::NotAFile ? FolderWalkHooks::LeftOut::NotAFile
                                                            : FolderWalkHooks::LeftOut::PathTooLong,
                        nativePath);
        };
        for (const QByteArray& name : subfolders) {
            if (pacing_.stopRequested())
                return;
            if (const std::optional<QString> text = decodeFileName(name.constData());
                text && isEnterable(*text))
                walkBeyondPathLimit(nativeFolderPath(folderPath), name, *loadPattern_, pacing_,
                                    tell);
        }
    }

    // Whether the folder's subfolders are collected. A folder that is not is still kept,
    // so a start folder's own files are loaded whatever it is.
    bool mayListSubfolders(const WalkFolder& folder) {
        if (folder.path.size() >= limit_)
            return false;
        // A folder found by listing is a real folder, not a link, and this platform never
        // marks a folder as the system's, so the status calls below would tell nothing new.
        if (folder.listed)
            return true;
        try {
            return IsFolder(folder.path) && mayEnter(folder.path);
        } catch (const std::exception&) {
            // A folder that cannot be examined is not entered; the walk goes on.
            return false;
        }
    }

    static bool mayEnter(const QString& path) {
        const FolderObject folder = GetFolder(path);
        if (folder.IsRootFolder())
            return true;
        const int attributes = folder.Attributes();
        return attributes != systemFolderAttributes && attributes != linkedSystemFolderAttributes;
    }

    // Of several equal entries the first one goes, as each of them is read in turn.
    static void removeFirst(std::vector<WalkFolder>& level, const QString& path) {
        for (auto entry = level.begin(); entry != level.end(); ++entry) {
            if (entry->path == path) {
                level.erase(entry);
                return;
            }
        }
    }

    template <typename Step> void guarded(int step, Step&& action) {
        try {
            action();
        } catch (const std::exception& failure) {
            if (hooks_.reportFailure)
                hooks_.reportFailure(QString::fromUtf8(failure.what()), step);
        }
    }

    QChar separator_;
    qsizetype limit_;
    const FolderWalkHooks& hooks_;
    WalkPacing& pacing_;
    const QString* loadPattern_;
};

} // namespace

void GetSubDirectories2016(QStringList& folders, bool recurse, PathStyle style,
                           const FolderWalkHooks& hooks) {
    WalkPacing pacing(hooks.yield, hooks.yieldInterval, hooks.stop);
    std::vector<WalkFolder> start;
    start.reserve(folders.size());
    for (const QString& folder : folders)
        start.emplace_back(folder);
    const std::vector<WalkFolder> all =
        TreeWalk(style, hooks, pacing, nullptr).run(std::move(start), recurse);
    folders.clear();
    folders.reserve(static_cast<qsizetype>(all.size()));
    for (const WalkFolder& folder : all)
        folders.append(folder.path);
}

QStringList filesInFolderTree(const QString& folder, const QString& pattern, PathStyle style,
                              const FolderWalkHooks& hooks) {
    const QChar separator(separatorOf(style));
    WalkPacing pacing(hooks.yield, hooks.yieldInterval, hooks.stop);
    std::vector<WalkFolder> start;
    start.emplace_back(folder + separator);
    TreeWalk walk(style, hooks, pacing, &pattern);
    std::vector<WalkFolder> folders = walk.run(std::move(start), true);

    QStringList paths;
    for (WalkFolder& entry : folders) {
        pacing.maybeYield();
        if (pacing.stopRequested())
            break;
        const QString folderPath = entry.path.chopped(1);
        // Folders the walk did not read (not entered, or their listing broke off) are
        // read now.
        QStringList names;
        if (entry.read) {
            names = std::move(entry.files);
        } else {
            FolderReading reading = readFolder(folderPath, &pattern, &pacing);
            names = std::move(reading.files);
            walk.tellFilesLeftOut(entry.path, reading);
        }
        for (const QString& name : names)
            paths.append(NormalizePathSeparators(folderPath + separator + name, style));
    }
    return paths;
}

} // namespace velmora
