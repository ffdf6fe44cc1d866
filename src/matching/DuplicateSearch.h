#pragma once

#include "PathStyle.h"
#include "SearchOptions.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <stop_token>
#include <utility>
#include <vector>

namespace velmora {

// The first name-key stage at which two paths matched in option mode.
enum class MatchStage { None, Path, Extension, Before, After };

struct ResultRow {
    // A row added by hand is just {path, ticked}: no partner and no reason.
    ResultRow(QString path = {}, bool checked = false, QString partner = {}, double ratio = -1,
              MatchStage stage = MatchStage::None)
        : path(std::move(path)), checked(checked), partner(std::move(partner)), ratio(ratio),
          stage(stage) {}

    QString path;
    bool checked = false;
    // Why the row is there: the other path of the pair whose row the clean-up kept, and
    // that pair's ratio (similarity mode, earlier entry's name first; -1 in option mode)
    // or its first equal stage (option mode; None in similarity mode).
    QString partner;
    double ratio = -1;
    MatchStage stage = MatchStage::None;

    friend bool operator==(const ResultRow&, const ResultRow&) = default;
};

// Where a run stands, for the progress bar: the pair stage walks the file list (count =
// number of paths, position 1..count), the clean-up stage walks the pair rows.
struct SearchProgress {
    enum class Stage { Pairs, CleanUp };
    Stage stage = Stage::Pairs;
    int position = 0; // 1-based outer position reached
    int count = 0;    // size of the list the stage walks
};

struct SearchHooks {
    // Called from the thread that called findDuplicates, never from a worker, and not
    // more often than the caller can repaint; may be empty.
    std::function<void(const SearchProgress&)> progress;
    // A requested stop ends the run early; the rows returned are then meaningless.
    std::stop_token stop;
    // Worker threads for the similarity mode; 0 means one per core.
    int threads = 0;
    // Which of the given paths name one directory entry under different texts: per path,
    // the position in the list of the first path naming the same entry, or its own position
    // when no path before it does or when that cannot be told. Two paths of one entry have
    // equal file names. Asked only about paths whose name more than one path text holds,
    // and only when that can change a tick; called from the thread that called
    // findDuplicates. May be empty: then only equal texts are one entry.
    std::function<std::vector<int>(const std::vector<QStringView>& paths)> firstPathOfSameEntry;
};

// The final rows of a run, after the clean-up: exactly the rows, order and ticks of the
// sequential pair-by-pair search followed by the removal of every repeated path but its
// last row, except that a path which matched only paths of its own directory entry ends
// unticked: a file listed twice, or reached through two folders that are one folder on
// disk, is not its own duplicate. Without `hooks.firstPathOfSameEntry` only equal texts
// are one entry. Empty when nothing matched.
std::vector<ResultRow> findDuplicates(const QStringList& paths, const SearchOptions& options,
                                      PathStyle style, const SearchHooks& hooks = {});

} // namespace velmora
