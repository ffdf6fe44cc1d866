#pragma once

#include <QByteArray>

#include <dirent.h>

namespace velmora {

// An open directory listing that closes on every way out.
class DirectoryStream {
public:
    explicit DirectoryStream(const QByteArray& nativeFolder)
        : stream_(opendir(nativeFolder.constData())) {}
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
