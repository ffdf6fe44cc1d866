#include "ContentFacts.h"

#include "FileContents.h"
#include "ParallelTasks.h"

#include <QHash>

#include <algorithm>
#include <memory>
#include <mutex>
#include <optional>

namespace velmora {

namespace {

// Most files that differ, differ here; only files alike this far are read whole.
constexpr std::int64_t kFirstBlockSize = 4096;
// A disk serves a few reads at once; more readers would only make it seek.
constexpr int kDefaultReaders = 4;

struct FileFacts {
    QString path;
    FileStatus status;
    bool looked = false; // its status taken before any stop
    bool firstBlockWanted = false;
    bool restWanted = false;
    std::optional<ContentHash> firstBlock;
    std::optional<ContentHash> rest; // the bytes after the first block
};

QString whatIsWrong(const FileStatus& status, const QString& whose) {
    switch (status.kind) {
    case FileStatus::Kind::Gone:
        return whose + QStringLiteral(" has gone");
    case FileStatus::Kind::NotRegular:
        return whose + QStringLiteral(" is not a regular file");
    case FileStatus::Kind::Unreadable:
        return whose + QStringLiteral(" cannot be read (") + status.error + QLatin1Char(')');
    case FileStatus::Kind::Regular:
        break;
    }
    return {};
}

class Comparison {
public:
    Comparison(const std::vector<ResultRow>& rows, const ContentHooks& hooks)
        : rows_(rows), hooks_(hooks) {}

    std::vector<ContentFact> run() {
        indexFiles();
        for (FileFacts& file : files_) {
            if (hooks_.stop.stop_requested())
                break;
            file.status = statusOf(file.path);
            file.looked = true;
        }
        reportSettledRows();
        for (const auto& [first, second] : pairs_)
            if (comparableBySize(first, second))
                files_[first].firstBlockWanted = files_[second].firstBlockWanted = true;
        readAll(ContentProgress::Stage::FirstBlocks);
        for (const auto& [first, second] : pairs_)
            if (comparableBySize(first, second) && files_[first].status.size > kFirstBlockSize &&
                files_[first].firstBlock && files_[first].firstBlock == files_[second].firstBlock)
                files_[first].restWanted = files_[second].restWanted = true;
        readAll(ContentProgress::Stage::WholeFiles);

        std::vector<ContentFact> facts;
        facts.reserve(rows_.size());
        for (std::size_t row = 0; row < rows_.size(); ++row)
            facts.push_back(
                settledFact(pairs_[row])
                    .value_or(ContentFact{ContentVerdict::Unknown,
                                          QStringLiteral("the comparison was stopped")}));
        return facts;
    }

private:
    // Each path once, in the order the rows first name them; -1 for no partner.
    void indexFiles() {
        QHash<QString, int> indexOf;
        const auto index = [&](const QString& path) {
            if (path.isEmpty())
                return -1;
            if (const auto known = indexOf.constFind(path); known != indexOf.constEnd())
                return *known;
            const int added = static_cast<int>(files_.size());
            indexOf.insert(path, added);
            files_.emplace_back().path = path;
            return added;
        };
        pairs_.reserve(rows_.size());
        for (const ResultRow& row : rows_) {
            const int first = index(row.path);
            pairs_.emplace_back(first, index(row.partner));
        }
        if (!hooks_.decided)
            return;
        reported_.assign(rows_.size(), false);
        rowsOfFile_.resize(files_.size());
        for (std::size_t row = 0; row < pairs_.size(); ++row)
            for (const int file : {pairs_[row].first, pairs_[row].second})
                if (file >= 0 && (rowsOfFile_[file].empty() || rowsOfFile_[file].back() != row))
                    rowsOfFile_[file].push_back(row);
    }

    void reportSettledRows() {
        if (hooks_.decided)
            for (std::size_t row = 0; row < pairs_.size(); ++row)
                reportIfSettled(row);
    }

    void reportIfSettled(std::size_t row) {
        if (reported_[row])
            return;
        if (const std::optional<ContentFact> fact = settledFact(pairs_[row])) {
            reported_[row] = true;
            hooks_.decided(row, *fact);
        }
    }

    bool bothRegular(int first, int second) const {
        return first >= 0 && second >= 0 &&
               files_[first].status.kind == FileStatus::Kind::Regular &&
               files_[second].status.kind == FileStatus::Kind::Regular;
    }

    // Two names of one file need no reading, and neither do files of different sizes.
    bool comparableBySize(int first, int second) const {
        if (!bothRegular(first, second))
            return false;
        const FileStatus& one = files_[first].status;
        const FileStatus& other = files_[second].status;
        return !one.sameFileAs(other) && one.size == other.size && one.size > 0;
    }

    void readAll(ContentProgress::Stage stage) {
        const bool whole = stage == ContentProgress::Stage::WholeFiles;
        std::vector<int> wanted;
        for (int file = 0; file < static_cast<int>(files_.size()); ++file)
            if (whole ? files_[file].restWanted : files_[file].firstBlockWanted)
                wanted.push_back(file);
        if (wanted.empty() || hooks_.stop.stop_requested())
            return;

        const int workers =
            std::min(workerCountFor(hooks_.threads > 0 ? hooks_.threads : kDefaultReaders),
                     static_cast<int>(wanted.size()));
        std::vector<std::unique_ptr<FileContentReader>> readers(workers);
        // Workers only read; what they learn is written into the file facts on the calling
        // thread, which can then tell which rows it settles without racing the workers.
        std::mutex finishedLock;
        std::vector<std::pair<int, FileContentReader::Reading>> finished;
        const auto task = [&](int task, int worker) {
            if (!readers[worker])
                readers[worker] = std::make_unique<FileContentReader>();
            const FileFacts& file = files_[wanted[task]];
            const std::int64_t offset = whole ? kFirstBlockSize : 0;
            const std::int64_t length = whole ? file.status.size - kFirstBlockSize
                                              : std::min(file.status.size, kFirstBlockSize);
            auto reading = readers[worker]->hashRange(file.path, file.status, offset, length,
                                                      hooks_.stop, hooks_.counts);
            if (!reading)
                return;
            const std::lock_guard lock(finishedLock);
            finished.emplace_back(wanted[task], std::move(*reading));
        };
        const auto takeFinished = [&] {
            std::vector<std::pair<int, FileContentReader::Reading>> taken;
            {
                const std::lock_guard lock(finishedLock);
                taken.swap(finished);
            }
            for (auto& [index, reading] : taken) {
                FileFacts& file = files_[index];
                if (reading.kind != FileStatus::Kind::Regular) {
                    file.status.kind = reading.kind;
                    file.status.error = reading.error;
                } else {
                    (whole ? file.rest : file.firstBlock) = reading.hash;
                }
                if (hooks_.decided)
                    for (const std::size_t row : rowsOfFile_[index])
                        reportIfSettled(row);
            }
        };
        const auto between = [&](int done) {
            takeFinished();
            if (hooks_.progress)
                hooks_.progress({stage, done, static_cast<int>(wanted.size())});
            return !hooks_.stop.stop_requested();
        };
        runTasksInParallel(static_cast<int>(wanted.size()), workers, task, between);
        takeFinished();
    }

    // Nothing while the files read so far do not decide the row.
    std::optional<ContentFact> settledFact(std::pair<int, int> pair) const {
        const auto [first, second] = pair;
        if (second < 0)
            return ContentFact{ContentVerdict::Unknown, QStringLiteral("the file has no partner")};
        const FileFacts& one = files_[first];
        const FileFacts& other = files_[second];
        if (one.looked && other.looked) {
            if (const QString wrong = whatIsWrong(one.status, QStringLiteral("the file"));
                !wrong.isEmpty())
                return ContentFact{ContentVerdict::Unknown, wrong};
            if (const QString wrong = whatIsWrong(other.status, QStringLiteral("its partner"));
                !wrong.isEmpty())
                return ContentFact{ContentVerdict::Unknown, wrong};
            if (one.status.sameFileAs(other.status))
                return ContentFact{ContentVerdict::Same, {}};
            if (one.status.size != other.status.size)
                return ContentFact{ContentVerdict::Different, {}};
            if (one.status.size == 0)
                return ContentFact{ContentVerdict::Same, {}};
            if (one.firstBlock && other.firstBlock) {
                if (one.firstBlock != other.firstBlock)
                    return ContentFact{ContentVerdict::Different, {}};
                if (one.status.size <= kFirstBlockSize)
                    return ContentFact{ContentVerdict::Same, {}};
                if (one.rest && other.rest)
                    return ContentFact{one.rest == other.rest ? ContentVerdict::Same
                                                              : ContentVerdict::Different,
                                       {}};
            }
        }
        return std::nullopt;
    }

    const std::vector<ResultRow>& rows_;
    const ContentHooks& hooks_;
    std::vector<FileFacts> files_;
    std::vector<std::pair<int, int>> pairs_;
    std::vector<bool> reported_;
    std::vector<std::vector<std::size_t>> rowsOfFile_;
};

} // namespace

std::vector<ContentFact> compareContents(const std::vector<ResultRow>& rows,
                                         const ContentHooks& hooks) {
    return Comparison(rows, hooks).run();
}

QString contentVerdictName(ContentVerdict verdict) {
    switch (verdict) {
    case ContentVerdict::Same:
        return QStringLiteral("same");
    case ContentVerdict::Different:
        return QStringLiteral("different");
    case ContentVerdict::Unknown:
        break;
    }
    return QStringLiteral("unknown");
}

} // namespace velmora
