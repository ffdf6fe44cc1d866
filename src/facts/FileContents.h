#pragma once

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <stop_token>

#include <sys/types.h>

namespace velmora {

struct ContentReadCounts;

// A 128-bit hash of some of a file's bytes.
struct ContentHash {
    std::uint64_t low = 0;
    std::uint64_t high = 0;
    bool operator==(const ContentHash&) const = default;
};

// What a path named when it was looked at, links followed.
struct FileStatus {
    enum class Kind { Regular, Gone, NotRegular, Unreadable };
    Kind kind = Kind::Gone;
    QString error; // the system's words when unreadable
    dev_t device = 0;
    ino_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modified = 0; // nanoseconds; a file rewritten in place changes it

    bool sameFileAs(const FileStatus& other) const {
        return device == other.device && inode == other.inode;
    }
};

FileStatus statusOf(const QString& path);

// Reads one file with a reusable buffer and hash state; owned by one worker.
class FileContentReader {
public:
    FileContentReader();
    ~FileContentReader();
    FileContentReader(const FileContentReader&) = delete;
    FileContentReader& operator=(const FileContentReader&) = delete;

    // The hash of the bytes from `offset` to `offset + length` of the file `expected`
    // describes. Unreadable, or not regular, when the path now names something else or
    // it changed since; nothing when stopped.
    struct Reading {
        FileStatus::Kind kind = FileStatus::Kind::Regular;
        QString error;
        ContentHash hash;
    };
    std::optional<Reading> hashRange(const QString& path, const FileStatus& expected,
                                     std::int64_t offset, std::int64_t length,
                                     const std::stop_token& stop, ContentReadCounts* counts);

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace velmora
