#include "ContentCheck.h"

#include <chrono>
#include <utility>

namespace velmora {

namespace {
// Often enough for a tooltip to be current, seldom enough that a million rows do not
// flood the window's event queue.
constexpr auto kDeliveryInterval = std::chrono::milliseconds(50);
constexpr std::size_t kLargestDelivery = 4096;
} // namespace

ContentCheck::ContentCheck(ResultsList& list, QObject* parent) : QObject(parent), list_(list) {
    connect(&list_, &ResultsList::rowsReplaced, this, [this] {
        stop();
        doneForRows_ = false;
    });
}

ContentCheck::~ContentCheck() {
    stop();
}

void ContentCheck::startIfNeeded() {
    if (isRunning() || doneForRows_)
        return;
    std::vector<ResultRow> rows;
    rows.reserve(list_.rows().size());
    for (const bool ticked : {true, false})
        for (const ResultRow& row : list_.rows())
            if (row.checked == ticked)
                rows.push_back(row);
    list_.startContentFacts();
    const quint64 run = ++run_;
    reader_.ended = std::make_shared<std::atomic<bool>>(false);
    reader_.thread = std::jthread([this, run, rows = std::move(rows),
                                   ended = reader_.ended](std::stop_token stop) {
        std::vector<RowContentFact> batch;
        auto lastDelivery = std::chrono::steady_clock::now();
        const auto send = [&](bool last) {
            QMetaObject::invokeMethod(
                this, [this, run, facts = std::move(batch), last] { deliver(run, facts, last); },
                Qt::QueuedConnection);
            batch.clear();
            lastDelivery = std::chrono::steady_clock::now();
        };
        ContentHooks hooks;
        hooks.stop = stop;
        hooks.decided = [&](std::size_t row, const ContentFact& fact) {
            batch.push_back({rows[row].path, rows[row].partner, fact});
            if (batch.size() >= kLargestDelivery ||
                std::chrono::steady_clock::now() - lastDelivery >= kDeliveryInterval)
                send(false);
        };
        compareContents(rows, hooks);
        send(!stop.stop_requested());
        *ended = true;
    });
}

void ContentCheck::stop() {
    std::erase_if(stopping_, [](const Reader& reader) { return reader.ended->load(); });
    if (!reader_.thread.joinable())
        return;
    reader_.thread.request_stop();
    stopping_.push_back(std::move(reader_));
    reader_ = {};
    ++run_; // what the stopped check still sends is dropped
}

void ContentCheck::deliver(quint64 run, const std::vector<RowContentFact>& facts, bool last) {
    if (run != run_)
        return;
    list_.addContentFacts(facts);
    if (!last)
        return;
    doneForRows_ = true;
    reader_ = {}; // it has sent its last facts and is ending
    emit finished();
}

} // namespace velmora
