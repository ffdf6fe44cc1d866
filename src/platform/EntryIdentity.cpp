#include "EntryIdentity.h"

#include <QHash>

#include <algorithm>
#include <numeric>
#include <optional>
#include <thread>

#include <sys/stat.h>

namespace velmora {

namespace {

// Names are compared as text: paths become bytes one way only (as QFile::encodeName
// does), so equal texts are equal bytes, and texts that differ stay apart as before.
struct EntryKey {
    FolderIdentity folder;
    QStringView name;
    friend bool operator==(const EntryKey&, const EntryKey&) = default;
};

size_t qHash(const EntryKey& key, size_t seed = 0) {
    return qHashMulti(seed, static_cast<quint64>(key.folder.device),
                      static_cast<quint64>(key.folder.inode), key.name);
}

// The first path found of an entry; whether it exists is asked only once another path
// names the same folder and name.
struct FirstOfEntry {
    int position = 0;
    bool exists = false;
};

// A text holding a NUL names no file: the system would read it only up to there.
bool namesNoFile(QStringView text) {
    return text.contains(QChar(u'\0'));
}

bool exists(QStringView path) {
    struct stat status {};
    return !namesNoFile(path) && lstat(path.toLocal8Bit().constData(), &status) == 0;
}

// A folder text ends in its slash; an empty one stands for the working folder.
std::optional<FolderIdentity> folderIdentity(QStringView folder) {
    if (namesNoFile(folder))
        return std::nullopt;
    return folderIdentityAt(folder.isEmpty() ? "." : folder.toLocal8Bit().constData());
}

// Fewer folders than this are not worth a thread of their own.
constexpr size_t foldersPerThread = 512;

// Looking at the folders is the costly part: they are shared out among the threads.
std::vector<std::optional<FolderIdentity>> identitiesOf(const std::vector<QStringView>& folders,
                                                        int threads) {
    std::vector<std::optional<FolderIdentity>> identities(folders.size());
    const size_t workers = std::clamp<size_t>(threads > 0 ? static_cast<size_t>(threads)
                                                          : std::thread::hardware_concurrency(),
                                              1, folders.size() / foldersPerThread + 1);
    const size_t share = (folders.size() + workers - 1) / workers;
    auto lookAt = [&](size_t worker) {
        const size_t end = std::min(folders.size(), (worker + 1) * share);
        for (size_t at = worker * share; at < end; ++at)
            identities[at] = folderIdentity(folders[at]);
    };
    std::vector<std::jthread> helpers;
    for (size_t worker = 1; worker < workers; ++worker)
        helpers.emplace_back(lookAt, worker);
    lookAt(0);
    return identities;
}

// Per folder text, whether another text names the same folder on disk; empty when none
// does, as is usual.
std::vector<char>
foldersUnderSeveralTexts(const std::vector<std::optional<FolderIdentity>>& identities) {
    std::vector<std::pair<FolderIdentity, size_t>> known;
    for (size_t folder = 0; folder < identities.size(); ++folder)
        if (identities[folder])
            known.emplace_back(*identities[folder], folder);
    std::sort(known.begin(), known.end());
    std::vector<char> shared;
    for (size_t at = 1; at < known.size(); ++at) {
        if (known[at].first != known[at - 1].first)
            continue;
        shared.resize(identities.size(), 0);
        shared[known[at].second] = 1;
        shared[known[at - 1].second] = 1;
    }
    return shared;
}

} // namespace

std::optional<FolderIdentity> folderIdentityAt(const char* nativeFolder) {
    struct stat status {};
    if (stat(nativeFolder, &status) != 0)
        return std::nullopt;
    return FolderIdentity::of(status);
}

std::vector<int> firstPathsOfSameEntries(const std::vector<QStringView>& paths, int threads) {
    // Many paths share a folder: each folder text is looked at once.
    QHash<QStringView, int> folderNumbers;
    folderNumbers.reserve(static_cast<qsizetype>(paths.size()));
    std::vector<QStringView> folders;
    std::vector<int> folderOfPath(paths.size());
    for (size_t at = 0; at < paths.size(); ++at) {
        // With its last slash, so that "a", "./a", "/a" and "//a" have folder texts of their
        // own: distinct paths in one folder text then always differ in name.
        const QStringView folder = paths[at].first(paths[at].lastIndexOf(u'/') + 1);
        auto found = folderNumbers.constFind(folder);
        if (found == folderNumbers.constEnd()) {
            found = folderNumbers.insert(folder, static_cast<int>(folders.size()));
            folders.push_back(folder);
        }
        folderOfPath[at] = found.value();
    }
    const std::vector<std::optional<FolderIdentity>> identities = identitiesOf(folders, threads);

    std::vector<int> result(paths.size());
    std::iota(result.begin(), result.end(), 0);
    // Only a folder reached under several texts can hold two paths of one entry.
    const std::vector<char> shared = foldersUnderSeveralTexts(identities);
    if (shared.empty())
        return result;
    QHash<EntryKey, FirstOfEntry> firsts;
    for (size_t at = 0; at < paths.size(); ++at) {
        const auto folder = static_cast<size_t>(folderOfPath[at]);
        if (shared[folder] == 0)
            continue;
        const int position = static_cast<int>(at);
        const QStringView path = paths[at];
        const EntryKey key{*identities[folder], path.sliced(path.lastIndexOf(u'/') + 1)};
        const auto first = firsts.find(key);
        if (first == firsts.end()) {
            firsts.insert(key, {position, false});
            continue;
        }
        if (!exists(path))
            continue;
        if (!first->exists && !exists(paths[static_cast<size_t>(first->position)])) {
            *first = {position, true};
            continue;
        }
        first->exists = true;
        result[at] = first->position;
    }
    return result;
}

} // namespace velmora
