#include "DuplicateSearch.h"

#include "OptionModeSearch.h"
#include "SearchProgressReporter.h"
#include "SimilarityModeRows.h"
#include "SimilarityModeSearch.h"

namespace velmora {

std::vector<ResultRow> findDuplicates(const QStringList& paths, const SearchOptions& options,
                                      PathStyle style, const SearchHooks& hooks) {
    SearchProgressReporter reporter(hooks);
    const int count = static_cast<int>(paths.size());
    reporter.reportNow(SearchProgress::Stage::Pairs, 0, count);
    std::vector<ResultRow> rows =
        options.optionMode() ? findDuplicatesByOptions(paths, options, style, hooks, reporter)
                             : findDuplicatesBySimilarity(paths, style, hooks, reporter);
    if (!options.optionMode() && !reporter.stopRequested())
        fillSimilarityRatios(rows, style, hooks.threads, reporter);
    if (reporter.stopRequested())
        return {};
    // The rows come out whole, so the clean-up has nothing left to walk.
    const int rowCount = static_cast<int>(rows.size());
    reporter.reportNow(SearchProgress::Stage::CleanUp, rowCount, rowCount);
    return rows;
}

} // namespace velmora
