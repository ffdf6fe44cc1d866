#pragma once

#include "DuplicateSearch.h"

#include <QString>

#include <functional>
#include <stop_token>

namespace velmora {

class Form1;
class Form2;

// "Start Finding": compares the file list in the mode the options choose, shows the files
// found in the results window and hides the main window, or says that nothing was found.
// The engine works on a worker thread while this handler waits in the window's event
// loop, so the windows repaint and the busy rules hold without a yield per pair.
class DuplicateSearchRun {
public:
    // resultsWindow creates the results window the first time it is asked for.
    DuplicateSearchRun(Form1& form1, std::function<Form2&()> resultsWindow, PathStyle style);

    void PushButton2_Click();

    bool SearchRunning() const { return searchRunning_; }
    // Ends a run under way as soon as the engine notices; nothing is shown afterwards.
    void requestStop() { stopSource_.request_stop(); }

    // Threads for the engine; 0 means one per core.
    void setThreads(int threads) { threads_ = threads; }

private:
    std::vector<ResultRow> findOffTheWindowThread(const QStringList& paths,
                                                  const SearchOptions& options);
    void showProgress(const SearchProgress& progress, const QStringList& paths);

    Form1& form1_;
    std::function<Form2&()> resultsWindow_;
    PathStyle style_;
    bool searchRunning_ = false;
    std::stop_source stopSource_;
    int threads_ = 0;
};

} // namespace velmora
