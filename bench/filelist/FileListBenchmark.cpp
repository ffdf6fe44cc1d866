#include "FileList.h"
#include "FileListView.h"
#include "ListFilters.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>

#include <benchmark/benchmark.h>

#include <memory>

// How long a million candidate files take to reach the screen once their paths exist,
// against the cost of merely building those paths in memory. Run with QT_QPA_PLATFORM=offscreen on
// a machine without a display.

namespace {

constexpr int millionPaths = 1'000'000;

QStringList makePaths(int count) {
    QStringList paths;
    paths.reserve(count);
    for (int number = 0; number < count; ++number)
        paths << QStringLiteral("/home/user/Documents/folder%1/report-%2.txt")
                     .arg(number / 1000)
                     .arg(number);
    return paths;
}

// Counts paint events on the list, so a run waits until the rows really were drawn.
class PaintWatch : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

struct ShownList {
    velmora::FileList list;
    velmora::FileListView view{list};
    PaintWatch watch;

    ShownList() {
        view.resize(520, 155);
        view.viewport()->installEventFilter(&watch);
        view.show();
        waitForPaint();
    }

    void waitForPaint() {
        const int before = watch.paints;
        view.viewport()->update();
        QElapsedTimer limit;
        limit.start();
        while (watch.paints == before && limit.elapsed() < 10'000)
            QApplication::processEvents();
    }
};

// The baseline. Like the list runs below, it frees the previous paths outside the timing,
// so both sides pay for the same allocations and none of the releases.
void BM_BuildPathsOnly(benchmark::State& state) {
    QStringList paths;
    for (auto _ : state) {
        state.PauseTiming();
        paths = QStringList();
        state.ResumeTiming();
        paths = makePaths(static_cast<int>(state.range(0)));
        benchmark::DoNotOptimize(paths);
    }
}

void BM_AddManyAndShow(benchmark::State& state) {
    ShownList shown;
    for (auto _ : state) {
        state.PauseTiming();
        shown.list.Clear();
        shown.waitForPaint();
        const QStringList paths = makePaths(static_cast<int>(state.range(0)));
        state.ResumeTiming();
        shown.list.addMany(paths);
        shown.waitForPaint();
    }
    state.counters["rows"] = shown.list.Count();
}

void BM_AddOneByOneAndShow(benchmark::State& state) {
    ShownList shown;
    for (auto _ : state) {
        state.PauseTiming();
        shown.list.Clear();
        shown.waitForPaint();
        const QStringList paths = makePaths(static_cast<int>(state.range(0)));
        state.ResumeTiming();
        for (const QString& path : paths)
            shown.list.Add(path);
        shown.waitForPaint();
    }
}

void BM_ScrollToLastAndShow(benchmark::State& state) {
    ShownList shown;
    shown.list.addMany(makePaths(static_cast<int>(state.range(0))));
    shown.waitForPaint();
    bool atEnd = false;
    for (auto _ : state) {
        if (atEnd)
            shown.view.scrollToTop();
        else
            shown.view.scrollToBottom();
        atEnd = !atEnd;
        shown.waitForPaint();
    }
}

// The Delete key on a full list: the rows after the removed one move up.
void BM_RemoveFirstAndShow(benchmark::State& state) {
    ShownList shown;
    shown.list.addMany(makePaths(static_cast<int>(state.range(0))));
    shown.waitForPaint();
    for (auto _ : state) {
        shown.view.selectPosition(1);
        shown.view.removeCurrentEntry();
        shown.waitForPaint();
    }
}

// The list filters over a shown list: every other entry of each thousand carries "odd" in
// its folder, so the filters remove or keep about half the list.
QStringList makeFilterPaths(int count) {
    QStringList paths;
    paths.reserve(count);
    for (int number = 0; number < count; ++number)
        paths << QStringLiteral("/home/user/Documents/%1%2/Report-%3.txt")
                     .arg(number % 2 ? QStringLiteral("Odd") : QStringLiteral("even"))
                     .arg(number / 1000)
                     .arg(number);
    return paths;
}

void BM_FilterContainingAndShow(benchmark::State& state) {
    ShownList shown;
    for (auto _ : state) {
        state.PauseTiming();
        shown.list.Clear();
        shown.list.addMany(makeFilterPaths(static_cast<int>(state.range(0))));
        shown.waitForPaint();
        state.ResumeTiming();
        velmora::RemoveEntriesContaining(shown.list, QStringLiteral("ODD"));
        shown.waitForPaint();
    }
    state.counters["rows left"] = shown.list.Count();
}

void BM_FilterNotContainingAndShow(benchmark::State& state) {
    ShownList shown;
    for (auto _ : state) {
        state.PauseTiming();
        shown.list.Clear();
        shown.list.addMany(makeFilterPaths(static_cast<int>(state.range(0))));
        shown.waitForPaint();
        state.ResumeTiming();
        velmora::RemoveEntriesNotContaining(shown.list, QStringLiteral("ODD"));
        shown.waitForPaint();
    }
    state.counters["rows left"] = shown.list.Count();
}

// Only the test of each path, without the list or the view.
void BM_FilterPositionsOnly(benchmark::State& state) {
    const QStringList paths = makeFilterPaths(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(velmora::positionsContaining(paths, QStringLiteral("ODD")));
}

// The literal way, for comparison on a small list: collect, then remove one entry at a time
// from the last back, each removal announced to the view.
void BM_FilterOneByOneAndShow(benchmark::State& state) {
    ShownList shown;
    for (auto _ : state) {
        state.PauseTiming();
        shown.list.Clear();
        shown.list.addMany(makeFilterPaths(static_cast<int>(state.range(0))));
        shown.waitForPaint();
        state.ResumeTiming();
        const std::vector<int> positions =
            velmora::positionsContaining(shown.list.paths(), QStringLiteral("ODD"));
        for (auto position = positions.rbegin(); position != positions.rend(); ++position)
            shown.list.Remove(*position);
        shown.waitForPaint();
    }
}

void BM_FilterContainingSmallAndShow(benchmark::State& state) {
    BM_FilterContainingAndShow(state);
}

} // namespace

BENCHMARK(BM_BuildPathsOnly)->Arg(millionPaths)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_AddManyAndShow)->Arg(millionPaths)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_AddOneByOneAndShow)->Arg(millionPaths)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_RemoveFirstAndShow)->Arg(millionPaths)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_ScrollToLastAndShow)->Arg(millionPaths)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterContainingAndShow)
    ->Arg(millionPaths)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK(BM_FilterNotContainingAndShow)
    ->Arg(millionPaths)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK(BM_FilterPositionsOnly)->Arg(millionPaths)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterContainingSmallAndShow)->Arg(20'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterOneByOneAndShow)->Arg(20'000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
