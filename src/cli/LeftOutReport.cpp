#include "LeftOutReport.h"

#include "NameBytes.h"

namespace velmora {

void LeftOutReport::add(LeftOut what, const QByteArray& nativePath) {
    switch (what) {
    case LeftOut::FileNameNotUtf8:
        ++files_;
        break;
    case LeftOut::FolderNameNotUtf8:
        ++folders_;
        break;
    case LeftOut::FolderUnreadable:
        ++unreadable_;
        break;
    }
    if (listEach_)
        items_.append({what, nativePath});
}

std::function<void(LeftOutReport::LeftOut, const QByteArray&)> LeftOutReport::hook() {
    return [this](LeftOut what, const QByteArray& nativePath) { add(what, nativePath); };
}

QStringList LeftOutReport::lines() const {
    QStringList lines;
    for (const auto& [what, nativePath] : items_) {
        const QString reason = what == LeftOut::FolderUnreadable
                                   ? QStringLiteral("folder cannot be read")
                                   : QStringLiteral("name not valid UTF-8");
        lines.append(QStringLiteral("left out (%1): %2").arg(reason, escapedBytes(nativePath)));
    }
    QStringList counts;
    if (files_ > 0 || folders_ > 0)
        counts.append(QStringLiteral("%1 files and %2 folders left out: their names are not "
                                     "valid UTF-8")
                          .arg(files_)
                          .arg(folders_));
    if (unreadable_ > 0)
        counts.append(QStringLiteral("%1 folders left out: they cannot be read").arg(unreadable_));
    if (!counts.isEmpty())
        lines.append(counts.join(QStringLiteral("; ")));
    return lines;
}

} // namespace velmora
