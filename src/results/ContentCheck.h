#pragma once

#include "ResultsList.h"

#include <QObject>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace velmora {

// Compares each row's file with its partner's while the results window is open, off the
// window's thread, and hands the list what it learns as it comes: ticked rows first,
// since those are the files about to go. Replacing the list's rows stops it.
class ContentCheck : public QObject {
    Q_OBJECT

public:
    explicit ContentCheck(ResultsList& list, QObject* parent = nullptr);
    // Waits for the readers, which stop between two reads.
    ~ContentCheck() override;

    // Starts a check of the list's rows unless one is running or has finished for them.
    void startIfNeeded();
    void stop();
    bool isRunning() const { return reader_.thread.joinable(); }

signals:
    void finished();

private:
    void deliver(quint64 run, const std::vector<RowContentFact>& facts, bool last);

    struct Reader {
        std::jthread thread;
        std::shared_ptr<std::atomic<bool>> ended = std::make_shared<std::atomic<bool>>(false);
    };

    ResultsList& list_;
    Reader reader_;
    // Stopped checks still finishing their last read; each is joined once it has ended,
    // or when the window goes, so the window never waits on a slow disk.
    std::vector<Reader> stopping_;
    quint64 run_ = 0;
    bool doneForRows_ = false;
};

} // namespace velmora
