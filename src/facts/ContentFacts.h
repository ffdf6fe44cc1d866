#pragma once

#include "DuplicateSearch.h"

#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <stop_token>
#include <vector>

namespace velmora {

enum class ContentVerdict { Same, Different, Unknown };

// Whether a row's file is a copy of its partner: a fact about bytes, never about names.
struct ContentFact {
    ContentVerdict verdict = ContentVerdict::Unknown;
    QString reason; // why it is unknown, as a phrase: "the file has gone"
};

// What the files cost; tests learn from it which files were read.
struct ContentReadCounts {
    std::atomic<std::int64_t> filesOpened{0};
    std::atomic<std::int64_t> bytesRead{0};
};

struct ContentProgress {
    enum class Stage { FirstBlocks, WholeFiles };
    Stage stage = Stage::FirstBlocks;
    int filesDone = 0;
    int fileCount = 0;
};

struct ContentHooks {
    int threads = 0; // 0: a few, as many as a disk serves at once
    std::stop_token stop;
    std::function<void(const ContentProgress&)> progress; // on the calling thread
    // Each row's fact as soon as it is settled, once per row, on the calling thread: a
    // window can show the first rows while the last files are still being read. Rows
    // still open when the comparison stops are not reported.
    std::function<void(std::size_t row, const ContentFact& fact)> decided;
    ContentReadCounts* counts = nullptr;
};

// One fact per row, in the rows' order. Files whose sizes differ are never read, a file
// is read only as far as telling it from its partners takes, and each byte at most once
// however many rows name the file; files are read in the order the rows first name
// them. Memory stays at one buffer per worker whatever the sizes. When stopped, the rows
// not yet decided are unknown.
std::vector<ContentFact> compareContents(const std::vector<ResultRow>& rows,
                                         const ContentHooks& hooks = {});

QString contentVerdictName(ContentVerdict verdict); // "same", "different", "unknown"

} // namespace velmora
