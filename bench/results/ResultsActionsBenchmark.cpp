#include "Form2.h"
#include "QtDesktop.h"
#include "ResultsList.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QPushButton>
#include <QStringList>
#include <QTableView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <vector>

// "Check All", a save and a copy of a million results rows, each through the results
// window's own button, against the floor of the same work done in the plainest way in
// the same run: the rows loaded into the list, the same bytes written in one piece, the
// same lines joined into one text. Run with QT_QPA_PLATFORM=offscreen without a display.

namespace {

constexpr int millionRows = 1'000'000;

// Every row ticked: the most a save has to write.
std::vector<velmora::ResultRow> makeRows(int count) {
    std::vector<velmora::ResultRow> rows;
    rows.reserve(static_cast<std::size_t>(count));
    for (int number = 0; number < count; ++number)
        rows.push_back({QStringLiteral("/home/user/Documents/folder%1/report-%2.txt")
                            .arg(number / 1000)
                            .arg(number),
                        true});
    return rows;
}

// The window's dialogs answered at once: Yes to every question, the same file to save.
class AnsweringMessages : public velmora::MessageBoxes {
public:
    Answer show(const QString&, Buttons buttons, Icon, const QString&) override {
        return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
    }
    QString prompt(const QString&, const QString&, const QString&) override { return {}; }
};

class ChosenFile : public velmora::FileDialogs {
public:
    QString openFiles(const QString&, const QString&) override { return {}; }
    QString saveFile(const QString&, const QString&) override { return path; }
    QString path;
};

class NoFolder : public velmora::FolderBrowser {
public:
    QString askForFolder(const QString&, const QString&) override { return {}; }
};

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

struct ShownResults {
    QTemporaryDir folder;
    AnsweringMessages messages;
    ChosenFile dialogs;
    NoFolder folders;
    velmora::QtClipboard clipboard;
    velmora::QtDesktopShell shell;
    velmora::Services services{messages, dialogs, folders, clipboard, shell, QString()};
    velmora::Form2 form{services, [] {}, [] {}};
    PaintWatch watch;
    int progressReports = 0;

    ShownResults() {
        dialogs.path = folder.filePath(QStringLiteral("results.txt"));
        form.setSaveProgress([this](double, const QString&) { ++progressReports; });
        form.resultsList().setRows(makeRows(millionRows));
        form.ListView1().viewport()->installEventFilter(&watch);
        form.show();
        waitForPaint();
    }

    void waitForPaint() {
        const int before = watch.paints;
        form.ListView1().viewport()->update();
        QElapsedTimer limit;
        limit.start();
        while (watch.paints == before && limit.elapsed() < 10'000)
            QApplication::processEvents();
    }
};

// Made once in main, inside the application's lifetime, and shared by every run.
ShownResults* shownResults = nullptr;

ShownResults& shown() {
    return *shownResults;
}

// Baselines -------------------------------------------------------------------------

void BM_LoadRowsBaseline(benchmark::State& state) {
    ShownResults& results = shown();
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<velmora::ResultRow> rows = makeRows(millionRows);
        state.ResumeTiming();
        results.form.resultsList().setRows(std::move(rows));
        results.waitForPaint();
    }
}

void BM_WriteBytesBaseline(benchmark::State& state) {
    ShownResults& results = shown();
    results.form.resultsList().setRows(makeRows(millionRows));
    QByteArray bytes;
    for (const velmora::ResultRow& row : results.form.resultsList().rows())
        if (row.checked)
            bytes += row.path.toUtf8() + "\t\r\n";
    const QString path = results.folder.filePath(QStringLiteral("plain.txt"));
    for (auto _ : state) {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        file.close();
    }
    state.counters["bytes"] = static_cast<double>(bytes.size());
}

void BM_JoinLinesBaseline(benchmark::State& state) {
    ShownResults& results = shown();
    results.form.resultsList().setRows(makeRows(millionRows));
    for (auto _ : state) {
        QStringList lines;
        lines.reserve(millionRows);
        for (const velmora::ResultRow& row : results.form.resultsList().rows())
            lines << row.path;
        QString text = lines.join(QStringLiteral("\r\n"));
        benchmark::DoNotOptimize(text);
    }
}

// The window's commands ---------------------------------------------------------------

void BM_CheckAllAndShow(benchmark::State& state) {
    ShownResults& results = shown();
    bool check = true;
    for (auto _ : state) {
        (check ? results.form.PushButton5() : results.form.PushButton3()).click();
        check = !check;
        results.waitForPaint();
    }
}

void BM_SaveResults(benchmark::State& state) {
    ShownResults& results = shown();
    results.form.resultsList().setRows(makeRows(millionRows));
    for (auto _ : state)
        results.form.PushButton6().click();
    state.counters["bytes"] = static_cast<double>(QFile(results.dialogs.path).size());
}

void BM_CopyResults(benchmark::State& state) {
    ShownResults& results = shown();
    results.form.resultsList().setRows(makeRows(millionRows));
    for (auto _ : state)
        results.form.PushButton18().click();
    state.counters["chars"] = static_cast<double>(QApplication::clipboard()->text().size());
}

} // namespace

BENCHMARK(BM_LoadRowsBaseline)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_CheckAllAndShow)->Unit(benchmark::kMillisecond)->Iterations(6);
BENCHMARK(BM_WriteBytesBaseline)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SaveResults)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_JoinLinesBaseline)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_CopyResults)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    ShownResults results;
    shownResults = &results;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
