#pragma once

#include <QString>

#include <sys/types.h>

namespace velmora {

// Decides which entries of one open folder loading takes. Opening a file by its path
// needs nothing of the file but that it exists and that its folder may be searched; the
// listing already says it exists, so one lookup per folder tells whether every plain
// file of it would open.
class LoadRules {
public:
    enum class Verdict {
        Taken,
        Refused,     // not for loading: a folder, an owner file, another extension...
        NotAFile,    // a FIFO, a socket or a device, or a link to one
        PathTooLong, // would be taken, but its path is longer than the system opens
    };

    // `folderPathBytes`: the length of the folder's path, without a trailing separator.
    LoadRules(const QString& pattern, int folderDescriptor, qsizetype folderPathBytes);

    // `type` is the entry's type as the listing reports it (DT_*), never DT_UNKNOWN.
    Verdict judge(const char* rawName, unsigned char type, const QString& name);

    bool lookupsDenied() const { return lookups_ == Lookups::Denied; }

private:
    enum class Lookups { Unknown, Work, Denied };

    Verdict judgeKind(const char* rawName, unsigned char type);

    const QString& pattern_;
    bool everything_;
    int folderDescriptor_;
    qsizetype folderPathBytes_;
    Lookups lookups_ = Lookups::Unknown;
};

// The DT_* type of a mode from a status call.
unsigned char entryTypeOf(mode_t mode);

} // namespace velmora
