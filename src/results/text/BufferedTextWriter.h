#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringView>

namespace velmora {

// Collects text and hands it to a device as UTF-8 in large pieces, so a list of a
// million lines costs a few hundred writes, not a million. After the first failed write
// nothing more is written and the reason is kept.
class BufferedTextWriter {
public:
    explicit BufferedTextWriter(QIODevice& device, qsizetype chunkSize = 1 << 16);
    ~BufferedTextWriter();
    BufferedTextWriter(const BufferedTextWriter&) = delete;
    BufferedTextWriter& operator=(const BufferedTextWriter&) = delete;

    // The text not yet written; append to it, then call written().
    QString& pending() { return pending_; }
    // Writes the pending text once it has grown past the chunk size.
    bool written();
    // Writes whatever is pending.
    bool flush();

    bool failed() const { return failed_; }
    QString errorString() const { return error_; }

private:
    QIODevice& device_;
    qsizetype chunkSize_;
    QString pending_;
    QByteArray encoded_;
    bool failed_ = false;
    QString error_;
};

// The same interface over a string held in memory, for callers that want the text itself.
struct StringSink {
    QString text;
    QString& pending() { return text; }
    bool written() { return true; }
};

} // namespace velmora
