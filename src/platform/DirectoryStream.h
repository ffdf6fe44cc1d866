#pragma once

#include <QByteArray>

#include <dirent.h>
#include <unistd.h>

namespace velmora {

// An open directory listing that closes on every way out.
class DirectoryStream {
public:
    explicit DirectoryStream(const QByteArray& nativeFolder)
        : stream_(opendir(nativeFolder.constData())) {}
    // Takes over the descriptor of an open folder, and closes it even when it cannot be
    // listed.
    explicit DirectoryStream(int folderDescriptor) : stream_(fdopendir(folderDescriptor)) {
        if (!stream_ && folderDescriptor >= 0)
            close(folderDescriptor);
    }
    ~DirectoryStream() {
        if (stream_)
            closedir(stream_);
    }
    DirectoryStream(const DirectoryStream&) = delete;
    DirectoryStream& operator=(const DirectoryStream&) = delete;

    DIR* get() const { return stream_; }

private:
    DIR* stream_;
};

inline bool isDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

} // namespace velmora
