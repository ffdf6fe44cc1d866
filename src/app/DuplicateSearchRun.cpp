#include "DuplicateSearchRun.h"

#include "EntryIdentity.h"
#include "ErrorTrap.h"
#include "Form1.h"
#include "Form2.h"
#include "WindowPlacement.h"

#include <QEventLoop>
#include <QMetaObject>

#include <exception>
#include <thread>

namespace velmora {

namespace {

const QString idleProgressText = QStringLiteral("Progress Bar");

} // namespace

DuplicateSearchRun::DuplicateSearchRun(Form1& form1, std::function<Form2&()> resultsWindow,
                                       PathStyle style)
    : form1_(form1), resultsWindow_(std::move(resultsWindow)), style_(style) {}

void DuplicateSearchRun::PushButton2_Click() {
    ErrorTrap trap(form1_.services().messages, QStringLiteral("Form1"),
                   QStringLiteral("PushButton2_Click"));
    if (searchRunning_)
        return;
    searchRunning_ = true;

    trap.step(106, [&] { resultsWindow_().resultsList().Clear(); });

    // The list and the options are taken once: what the user does meanwhile applies to
    // the next run.
    QStringList paths;
    trap.step(108, [&] { paths = form1_.fileList().paths(); });
    if (paths.isEmpty()) {
        trap.step(296, [&] { form1_.services().messages.show(QStringLiteral("No files added.")); });
        searchRunning_ = false;
        return;
    }

    trap.step(110, [&] { form1_.pointer().setBusy(); });
    SearchOptions options;
    trap.step(116, [&] { options = form1_.options(); });

    std::vector<ResultRow> rows;
    trap.step(options.optionMode() ? 122 : 210,
              [&] { rows = findOffTheWindowThread(paths, options); });

    if (!stopSource_.stop_requested()) {
        if (trap.test(282, [&] { return !rows.empty(); })) {
            trap.step(284, [&] {
                Form2& results = resultsWindow_();
                results.resultsList().setRunOptions(options, style_);
                results.resultsList().setRows(std::move(rows));
                results.scrollToTopLeft();
                // It takes the main window's place, which it hides.
                placeWhere(results, form1_);
                results.show();
            });
            trap.step(286, [&] { form1_.hide(); });
        } else {
            trap.step(288, [&] {
                form1_.services().messages.show(QStringLiteral("No duplicate files found."));
            });
        }
    }

    trap.step(290, [&] { form1_.pointer().setDefault(); });
    trap.step(292, [&] { form1_.ProgressBar1()->setValue(0); });
    trap.step(294, [&] { form1_.ProgressBar1()->setText(idleProgressText); });
    searchRunning_ = false;
}

std::vector<ResultRow> DuplicateSearchRun::findOffTheWindowThread(const QStringList& paths,
                                                                  const SearchOptions& options) {
    // Queued calls addressed to this object are dropped when it goes, so no progress
    // report can reach the window after the run has finished.
    QObject relay;
    QEventLoop waiting;
    std::vector<ResultRow> rows;
    std::exception_ptr failure;

    SearchHooks hooks;
    hooks.stop = stopSource_.get_token();
    hooks.threads = threads_;
    // Paths in the program's own style name files on this machine; other paths only text.
    if (style_ == PathStyle::Posix)
        hooks.firstPathOfSameEntry = [threads = threads_](const std::vector<QStringView>& paths) {
            return firstPathsOfSameEntries(paths, threads);
        };
    hooks.progress = [&](const SearchProgress& progress) {
        QMetaObject::invokeMethod(
            &relay, [this, progress, &paths] { showProgress(progress, paths); },
            Qt::QueuedConnection);
    };

    std::jthread worker([&] {
        try {
            rows = findDuplicates(paths, options, style_, hooks);
        } catch (...) {
            failure = std::current_exception();
        }
        QMetaObject::invokeMethod(
            &relay, [&waiting] { waiting.quit(); }, Qt::QueuedConnection);
    });
    waiting.exec();
    worker.join();

    if (failure)
        std::rethrow_exception(failure);
    return rows;
}

void DuplicateSearchRun::showProgress(const SearchProgress& progress, const QStringList& paths) {
    QString comparing;
    double value = 0;
    if (progress.stage == SearchProgress::Stage::Pairs) {
        // The bar fills its lower half while pairs are compared.
        if (progress.count <= 0 || progress.position < 1 || progress.position > paths.size())
            return;
        value = static_cast<double>(progress.position) / progress.count * 100 / 2;
        comparing = paths.at(progress.position - 1);
    } else {
        // Whatever the pair stage last reported, it walked the whole list, so the bar
        // shows where its last position leaves it; an empty clean-up adds nothing to that,
        // and one with rows fills the upper half.
        if (paths.isEmpty())
            return;
        comparing = paths.last();
        value = progress.count > 0
                    ? (1 + static_cast<double>(progress.position) / progress.count) * 100 / 2
                    : 50;
    }
    form1_.ProgressBar1()->setValue(value);
    form1_.ProgressBar1()->setText(QStringLiteral("Comparing: ") + comparing);
}

} // namespace velmora
