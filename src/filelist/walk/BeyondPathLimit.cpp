#include "BeyondPathLimit.h"

#include "DirectoryStream.h"
#include "FileSystem.h"
#include "WalkPacing.h"

#include <climits>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// A folder on the way down: how to recognise it on the way back up, where its path
// ends, and the subfolders still to visit.
struct OpenFolder {
    dev_t device = 0;
    ino_t inode = 0;
    qsizetype pathSize = 0;
    QList<QByteArray> subfolders;
    qsizetype next = 0;
};

class DescriptorWalk {
public:
    DescriptorWalk(const QString& pattern, WalkPacing& pacing,
                   const std::function<void(LoadRules::Verdict, const QByteArray&)>& tell)
        : pattern_(pattern), pacing_(pacing), tell_(tell) {}

    // Walks the tree of the folder open at `descriptor`, whose path is `path`, and closes
    // the descriptor.
    void run(int descriptor, QByteArray path) {
        std::vector<OpenFolder> trail;
        bool going = enter(descriptor, path, trail);
        while (going && !trail.empty()) {
            OpenFolder& here = trail.back();
            if (here.next < here.subfolders.size()) {
                const QByteArray name = here.subfolders.at(here.next++);
                const int below = openat(descriptor, name.constData(), kFolderFlags);
                if (below < 0)
                    continue;
                close(descriptor);
                descriptor = below;
                path.truncate(here.pathSize);
                path += '/' + name;
                going = enter(descriptor, path, trail);
                continue;
            }
            trail.pop_back();
            if (trail.empty())
                break;
            // Back up through "..", which leads where it came from unless the folder was
            // moved meanwhile; then the rest cannot be found again.
            const int above = openat(descriptor, "..", kFolderFlags);
            struct stat status {};
            if (above < 0 || fstat(above, &status) != 0 || status.st_dev != trail.back().device ||
                status.st_ino != trail.back().inode) {
                if (above >= 0)
                    close(above);
                break;
            }
            close(descriptor);
            descriptor = above;
        }
        close(descriptor);
    }

private:
    // Reads the folder open at `descriptor`, tells its files and puts it on the trail;
    // false when the walk should stop.
    bool enter(int descriptor, const QByteArray& path, std::vector<OpenFolder>& trail) {
        pacing_.maybeYield();
        if (pacing_.stopRequested())
            return false;
        OpenFolder folder;
        folder.pathSize = path.size();
        struct stat status {};
        if (fstat(descriptor, &status) != 0)
            return false;
        folder.device = status.st_dev;
        folder.inode = status.st_ino;
        const bool complete = read(descriptor, path, folder.subfolders);
        trail.push_back(std::move(folder));
        return complete;
    }

    bool read(int descriptor, const QByteArray& path, QList<QByteArray>& subfolders) {
        DirectoryStream directory(openat(descriptor, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (!directory.get())
            return true; // a folder that may not be read holds nothing to tell
        // Every path here is too long, so whatever loading would take is PathTooLong.
        LoadRules rules(pattern_, descriptor, PATH_MAX);
        for (unsigned entriesRead = 1;; ++entriesRead) {
            if (entriesRead % 512 == 0) {
                pacing_.maybeYield();
                if (pacing_.stopRequested())
                    return false;
            }
            const dirent* entry = readdir(directory.get());
            if (!entry)
                return true;
            const char* rawName = entry->d_name;
            if (isDotOrDotDot(rawName))
                continue;
            unsigned char type = entry->d_type;
            if (type == DT_UNKNOWN) {
                if (fstatat(descriptor, rawName, &status_, AT_SYMLINK_NOFOLLOW) != 0)
                    continue;
                type = entryTypeOf(status_.st_mode);
            }
            if (type == DT_DIR) {
                subfolders.append(QByteArray(rawName));
                continue;
            }
            const LoadRules::Verdict verdict = rules.judge(
                rawName, type, decodeFileName(rawName).value_or(QString::fromUtf8(rawName)));
            if (verdict != LoadRules::Verdict::Refused)
                tell_(verdict, path + '/' + rawName);
        }
    }

    const QString& pattern_;
    WalkPacing& pacing_;
    const std::function<void(LoadRules::Verdict, const QByteArray&)>& tell_;
    struct stat status_ {};
};

} // namespace

void walkBeyondPathLimit(
    const QByteArray& folder, const QByteArray& subfolder, const QString& pattern,
    WalkPacing& pacing,
    const std::function<void(LoadRules::Verdict why, const QByteArray& nativePath)>& tell) {
    const int parent = open(folder.isEmpty() ? "/" : folder.constData(), kFolderFlags);
    if (parent < 0)
        return;
    const int descriptor = openat(parent, subfolder.constData(), kFolderFlags);
    close(parent);
    if (descriptor < 0)
        return;
    DescriptorWalk(pattern, pacing, tell).run(descriptor, folder + '/' + subfolder);
}

} // namespace velmora
