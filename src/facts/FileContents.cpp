#include "FileContents.h"

#include "ContentFacts.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xxhash.h>

namespace velmora {

namespace {

// Large enough that a read costs little beside its bytes, small enough that a few
// workers hold little whatever the files' sizes.
constexpr std::int64_t kChunkSize = 1 << 20;

QString systemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

std::int64_t nanoseconds(const struct timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

FileStatus statusFrom(const struct stat& status) {
    FileStatus result;
    result.kind =
        S_ISREG(status.st_mode) ? FileStatus::Kind::Regular : FileStatus::Kind::NotRegular;
    result.device = status.st_dev;
    result.inode = status.st_ino;
    result.size = status.st_size;
    result.modified = nanoseconds(status.st_mtim);
    return result;
}

FileStatus failure(int error) {
    FileStatus result;
    if (error == ENOENT || error == ENOTDIR) {
        result.kind = FileStatus::Kind::Gone;
    } else {
        result.kind = FileStatus::Kind::Unreadable;
        result.error = systemError(error);
    }
    return result;
}

class Descriptor {
public:
    explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
    ~Descriptor() {
        if (descriptor_ >= 0)
            ::close(descriptor_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return descriptor_; }

private:
    int descriptor_;
};

} // namespace

FileStatus statusOf(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return failure(errno);
    return statusFrom(status);
}

struct FileContentReader::State {
    std::vector<char> buffer = std::vector<char>(kChunkSize);
    XXH3_state_t* hash = XXH3_createState();
    ~State() { XXH3_freeState(hash); }
};

FileContentReader::FileContentReader() : state_(std::make_unique<State>()) {}
FileContentReader::~FileContentReader() = default;

std::optional<FileContentReader::Reading>
FileContentReader::hashRange(const QString& path, const FileStatus& expected, std::int64_t offset,
                             std::int64_t length, const std::stop_token& stop,
                             ContentReadCounts* counts) {
    Reading reading;
    const auto fail = [&reading](FileStatus::Kind kind, const QString& error) {
        reading.kind = kind;
        reading.error = error;
        return reading;
    };
    // Links are followed as a user expects; O_NONBLOCK keeps a FIFO put in the file's
    // place from holding the open until a writer comes.
    const Descriptor file(
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.get() < 0) {
        const FileStatus status = failure(errno);
        return fail(status.kind, status.error);
    }
    if (counts)
        counts->filesOpened.fetch_add(1, std::memory_order_relaxed);
    struct stat opened {};
    if (::fstat(file.get(), &opened) != 0)
        return fail(FileStatus::Kind::Unreadable, systemError(errno));
    const FileStatus now = statusFrom(opened);
    if (now.kind != FileStatus::Kind::Regular)
        return fail(FileStatus::Kind::NotRegular, {});
    // Bytes of another file, or of this one rewritten since its size was taken, would
    // answer a question nobody asked.
    if (!now.sameFileAs(expected) || now.size != expected.size || now.modified != expected.modified)
        return fail(FileStatus::Kind::Unreadable,
                    QStringLiteral("it changed while being compared"));
    ::posix_fadvise(file.get(), offset, length, POSIX_FADV_SEQUENTIAL);

    XXH3_128bits_reset(state_->hash);
    std::int64_t position = offset;
    const std::int64_t end = offset + length;
    while (position < end) {
        if (stop.stop_requested())
            return std::nullopt;
        const auto wanted = static_cast<size_t>(std::min(kChunkSize, end - position));
        const ssize_t count = ::pread(file.get(), state_->buffer.data(), wanted, position);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return fail(FileStatus::Kind::Unreadable, systemError(errno));
        if (count == 0)
            return fail(FileStatus::Kind::Unreadable,
                        QStringLiteral("it changed while being compared"));
        if (counts)
            counts->bytesRead.fetch_add(count, std::memory_order_relaxed);
        XXH3_128bits_update(state_->hash, state_->buffer.data(), static_cast<size_t>(count));
        position += count;
    }
    const XXH128_hash_t hash = XXH3_128bits_digest(state_->hash);
    reading.hash = {hash.low64, hash.high64};
    return reading;
}

} // namespace velmora
