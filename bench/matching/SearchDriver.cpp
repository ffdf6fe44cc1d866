// Runs one search over a list of paths read from a file (one per line) and prints how
// long it took, so whole runs can be timed and measured for memory from outside:
//   velmora-search-driver LIST [--options] [--threads N] [--limit N] [--reference]
// --options turns on Check3 and Check1 with "-"; without it the run is in similarity
// mode. --reference runs the literal pair-by-pair search instead, as the baseline.
// --print writes the rows, so two runs can be compared line by line. The processor time
// is printed beside the wall time: on a shared machine it is the steadier figure.
// --progress also prints how finely the pair stage reported its progress.
#include "DuplicateSearch.h"
#include "SimilarFilename.h"
#include "reference/ReferenceSearch.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <ctime>

using namespace velmora;

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() < 2) {
        std::fprintf(stderr, "usage: %s LIST [--options] [--threads N] [--limit N] [--reference]\n",
                     argv[0]);
        return 2;
    }
    SearchOptions options;
    options.Check1 = options.Check2 = options.Check3 = 0;
    SearchHooks hooks;
    qsizetype limit = -1;
    bool reference = false;
    bool print = false;
    bool progress = false;
    for (qsizetype i = 2; i < arguments.size(); ++i) {
        if (arguments[i] == "--options") {
            options.Check3 = 1;
            options.Check1 = 1;
            options.Text1 = "-";
        } else if (arguments[i] == "--threads" && i + 1 < arguments.size()) {
            hooks.threads = arguments[++i].toInt();
        } else if (arguments[i] == "--limit" && i + 1 < arguments.size()) {
            limit = arguments[++i].toLongLong();
        } else if (arguments[i] == "--reference") {
            reference = true;
        } else if (arguments[i] == "--print") {
            print = true;
        } else if (arguments[i] == "--progress") {
            progress = true;
        }
    }

    QFile file(arguments[1]);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(arguments[1]));
        return 1;
    }
    QStringList paths;
    QTextStream stream(&file);
    while (!stream.atEnd() && (limit < 0 || paths.size() < limit))
        paths << stream.readLine();

    // With --progress: how many reports the pair stage made, and the largest step between
    // two of them, as a share of the list.
    int pairReports = 0;
    int lastPosition = 0;
    int largestStep = 0;
    if (progress)
        hooks.progress = [&](const SearchProgress& reached) {
            if (reached.stage != SearchProgress::Stage::Pairs)
                return;
            ++pairReports;
            largestStep = std::max(largestStep, reached.position - lastPosition);
            lastPosition = reached.position;
        };
    auto processorSeconds = [] {
        timespec now{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
        return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
    };
    const double processorStart = processorSeconds();
    QElapsedTimer timer;
    timer.start();
    const std::vector<ResultRow> rows =
        reference ? reference::findDuplicates(
                        paths, options, PathStyle::Posix,
                        [](const QString& a, const QString& b) { return SimilarityRatio(a, b); })
                  : findDuplicates(paths, options, PathStyle::Posix, hooks);
    const qint64 elapsed = timer.nsecsElapsed();
    const double processor = processorSeconds() - processorStart;
    qsizetype ticked = 0;
    for (const ResultRow& row : rows)
        ticked += row.checked ? 1 : 0;
    if (print)
        for (const ResultRow& row : rows)
            std::printf("%c %s\n", row.checked ? 'x' : ' ', qPrintable(row.path));
    std::printf("%s %lld paths: %lld rows (%lld ticked) in %.3f s (processor %.3f s)\n",
                reference ? "reference" : "engine", static_cast<long long>(paths.size()),
                static_cast<long long>(rows.size()), static_cast<long long>(ticked),
                static_cast<double>(elapsed) / 1e9, processor);
    if (progress)
        std::printf("pair stage: %d reports, largest step %.2f %% of the list\n", pairReports,
                    paths.isEmpty() ? 0.0
                                    : 100.0 * largestStep / static_cast<double>(paths.size()));
    return 0;
}
