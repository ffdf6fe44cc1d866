#pragma once

#include <QString>

#include <functional>

namespace velmora {

// What a progress bar shows: a value from 0 to 100 and a line of text.
using WriteProgress = std::function<void(double value, const QString& text)>;

// How a write ended; the reason is meant for the user, in one message.
struct WriteOutcome {
    bool ok = true;
    QString error;

    static WriteOutcome success() { return {}; }
    static WriteOutcome failure(const QString& reason) { return {false, reason}; }
};

} // namespace velmora
