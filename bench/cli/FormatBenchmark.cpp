#include "ResultFormats.h"

#include <QFile>

#include <benchmark/benchmark.h>

#include <vector>

// velmora-find's output formats on a million rows with their partners, written to
// /dev/null: json and csv against rows, the plainest format, in the same run. The whole
// program's figures are in run_format_benchmark.sh.

namespace {

std::vector<velmora::ResultRow> makeRows(bool optionMode) {
    std::vector<velmora::ResultRow> rows;
    rows.reserve(1'000'000);
    for (int number = 0; number < 1'000'000; ++number)
        rows.push_back({QStringLiteral("/home/user/Documents/folder%1/report-%2.txt")
                            .arg(number / 1000)
                            .arg(number),
                        number % 2 == 1,
                        QStringLiteral("/home/user/Backup/folder%1/report-%2.txt")
                            .arg(number / 1000)
                            .arg(number),
                        optionMode ? -1 : 1.0 / (number % 97 + 1),
                        optionMode ? velmora::MatchStage::Extension : velmora::MatchStage::None});
    return rows;
}

template <typename Write> void writeAll(benchmark::State& state, bool optionMode, Write write) {
    const std::vector<velmora::ResultRow> rows = makeRows(optionMode);
    QFile sink(QStringLiteral("/dev/null"));
    sink.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    for (auto _ : state)
        benchmark::DoNotOptimize(write(rows, sink).ok);
}

void rowsFormat(benchmark::State& state) {
    writeAll(state, true, [](const auto& rows, QIODevice& out) {
        return velmora::writeRowLines(rows, out, false);
    });
}

void jsonFormat(benchmark::State& state) {
    const bool optionMode = state.range(0) == 1;
    writeAll(state, optionMode, [optionMode](const auto& rows, QIODevice& out) {
        return velmora::writeJsonLines(
            rows, optionMode ? velmora::ReasonKind::Stage : velmora::ReasonKind::Ratio, out);
    });
}

void csvFormat(benchmark::State& state) {
    const bool optionMode = state.range(0) == 1;
    writeAll(state, optionMode, [optionMode](const auto& rows, QIODevice& out) {
        return velmora::writeCsv(
            rows, optionMode ? velmora::ReasonKind::Stage : velmora::ReasonKind::Ratio, out);
    });
}

} // namespace

BENCHMARK(rowsFormat)->Unit(benchmark::kMillisecond);
BENCHMARK(jsonFormat)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(csvFormat)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
