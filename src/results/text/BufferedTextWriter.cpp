#include "BufferedTextWriter.h"

namespace velmora {

BufferedTextWriter::BufferedTextWriter(QIODevice& device, qsizetype chunkSize)
    : device_(device), chunkSize_(chunkSize) {
    pending_.reserve(chunkSize_ + chunkSize_ / 4);
}

// Whatever the caller did not flush is dropped on purpose: a writer abandoned after an
// error must not append a half-finished tail.
BufferedTextWriter::~BufferedTextWriter() = default;

bool BufferedTextWriter::written() {
    if (pending_.size() < chunkSize_)
        return !failed_;
    return flush();
}

bool BufferedTextWriter::flush() {
    if (failed_) {
        pending_.resize(0);
        return false;
    }
    if (pending_.isEmpty())
        return true;
    encoded_ = pending_.toUtf8();
    pending_.resize(0);
    qsizetype done = 0;
    while (done < encoded_.size()) {
        const qint64 count = device_.write(encoded_.constData() + done, encoded_.size() - done);
        if (count <= 0) {
            failed_ = true;
            error_ = device_.errorString();
            if (error_.isEmpty() || error_ == QLatin1String("Unknown error"))
                error_ = QStringLiteral("the data could not be written");
            return false;
        }
        done += count;
    }
    return true;
}

} // namespace velmora
