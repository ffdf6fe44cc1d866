#pragma once

#include "ResultsList.h"

#include <QObject>

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
    bool isRunning() const { return running_; }

signals:
    void finished();

private:
    void deliver(quint64 run, const std::vector<RowContentFact>& facts, bool last);

    ResultsList& list_;
    std::jthread reader_;
    // Stopped checks still finishing their last read; joined when the window goes.
    std::vector<std::jthread> stopping_;
    quint64 run_ = 0;
    bool running_ = false;
    bool doneForRows_ = false;
};

} // namespace velmora
