#include "DuplicateSearch.h"
#include "SimilarFilename.h"
#include "reference/ReferenceRatio.h"
#include "reference/ReferenceSearch.h"

#include <QRandomGenerator>

#include <benchmark/benchmark.h>

using namespace velmora;

namespace {

// Name pairs shaped like real ones: a shared stem with small edits and an extension.
std::vector<std::pair<QString, QString>> namePairs(int length) {
    QRandomGenerator random(5);
    const QString alphabet = QStringLiteral("abcdefghijklmnopqrstuvwxyz0123456789_-");
    std::vector<std::pair<QString, QString>> pairs;
    for (int i = 0; i < 64; ++i) {
        QString first;
        for (int c = 0; c < length; ++c)
            first.append(alphabet[static_cast<qsizetype>(random.bounded(alphabet.size()))]);
        QString second = first;
        for (int edit = 0; edit < length / 5 + 1; ++edit)
            second[static_cast<qsizetype>(random.bounded(second.size()))] =
                alphabet[static_cast<qsizetype>(random.bounded(alphabet.size()))];
        pairs.emplace_back(first + ".txt", second.toUpper() + ".txt");
    }
    return pairs;
}

template <double (*Ratio)(const QString&, const QString&)>
void ratioBenchmark(benchmark::State& state) {
    const auto pairs = namePairs(static_cast<int>(state.range(0)));
    size_t next = 0;
    for (auto _ : state) {
        const auto& [first, second] = pairs[next++ % pairs.size()];
        benchmark::DoNotOptimize(Ratio(first, second));
    }
}

void BM_RatioFast(benchmark::State& state) {
    ratioBenchmark<&SimilarityRatio>(state);
}
void BM_RatioLiteral(benchmark::State& state) {
    ratioBenchmark<&reference::SimilarityRatio>(state);
}
BENCHMARK(BM_RatioFast)->Arg(8)->Arg(20)->Arg(60);
BENCHMARK(BM_RatioLiteral)->Arg(8)->Arg(20)->Arg(60);

QStringList pathList(int count) {
    QRandomGenerator random(9);
    const QStringList stems{"holiday", "report", "IMG_", "invoice-", "track", "notes"};
    const QStringList extensions{".jpg", ".txt", ".pdf", ".mp3", ""};
    QStringList paths;
    for (int i = 0; i < count; ++i)
        paths << QStringLiteral("/home/u/dir%1/%2%3%4")
                     .arg(random.bounded(20))
                     .arg(stems[static_cast<qsizetype>(random.bounded(stems.size()))])
                     .arg(random.bounded(1000))
                     .arg(extensions[static_cast<qsizetype>(random.bounded(extensions.size()))]);
    return paths;
}

SearchOptions options(bool optionMode) {
    SearchOptions options;
    options.Check1 = optionMode ? 1 : 0;
    options.Text1 = "-";
    options.Check2 = 0;
    options.Check3 = optionMode ? 1 : 0;
    return options;
}

void BM_SearchEngine(benchmark::State& state) {
    const QStringList paths = pathList(static_cast<int>(state.range(0)));
    SearchHooks hooks;
    hooks.threads = 1;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            findDuplicates(paths, options(state.range(1) != 0), PathStyle::Posix, hooks));
}

void BM_SearchPairByPair(benchmark::State& state) {
    const QStringList paths = pathList(static_cast<int>(state.range(0)));
    const reference::RatioFunction ratio = [](const QString& a, const QString& b) {
        return SimilarityRatio(a, b);
    };
    for (auto _ : state)
        benchmark::DoNotOptimize(reference::findDuplicates(paths, options(state.range(1) != 0),
                                                           PathStyle::Posix, ratio));
}

// Second argument: 0 similarity mode, 1 option mode.
BENCHMARK(BM_SearchEngine)->Args({200, 0})->Args({1000, 0})->Args({200, 1})->Args({1000, 1});
BENCHMARK(BM_SearchPairByPair)->Args({200, 0})->Args({1000, 0})->Args({200, 1})->Args({1000, 1});

} // namespace

BENCHMARK_MAIN();
