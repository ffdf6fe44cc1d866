#include "LeftOutReport.h"

#include "NameBytes.h"

namespace velmora {

namespace {

// "1 file", "2 files".
QString counted(qsizetype count, const QString& word) {
    return QString::number(count) + QLatin1Char(' ') + word +
           (count == 1 ? QString() : QStringLiteral("s"));
}

// The pronoun and verb that follow a count: "it is" or "they are".
QString theyAre(qsizetype count) {
    return count == 1 ? QStringLiteral("it is") : QStringLiteral("they are");
}

QString reasonOf(FolderWalkHooks::LeftOut what) {
    switch (what) {
    case FolderWalkHooks::LeftOut::FileNameNotUtf8:
    case FolderWalkHooks::LeftOut::FolderNameNotUtf8:
        break;
    case FolderWalkHooks::LeftOut::FolderUnreadable:
        return QStringLiteral("folder cannot be read");
    case FolderWalkHooks::LeftOut::PathTooLong:
        return QStringLiteral("path longer than the system allows");
    case FolderWalkHooks::LeftOut::NotAFile:
        return QStringLiteral("not a regular file");
    }
    return QStringLiteral("name not valid UTF-8");
}

} // namespace

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
    case LeftOut::PathTooLong:
        ++tooLong_;
        break;
    case LeftOut::NotAFile:
        ++notFiles_;
        break;
    }
    if (listEach_)
        named_.append(
            QStringLiteral("left out (%1): %2").arg(reasonOf(what), escapedBytes(nativePath)));
}

std::function<void(LeftOutReport::LeftOut, const QByteArray&)> LeftOutReport::hook() {
    return [this](LeftOut what, const QByteArray& nativePath) { add(what, nativePath); };
}

void LeftOutReport::addListLine(qsizetype number, const QByteArray& bytes,
                                const QString& entryWord) {
    ++listLines_;
    entryWord_ = entryWord;
    if (listEach_)
        named_.append(QStringLiteral("left out (not valid UTF-8): %1 %2: %3")
                          .arg(entryWord, QString::number(number), escapedBytes(bytes)));
}

QStringList LeftOutReport::lines() const {
    QStringList lines = named_;
    QStringList counts;
    if (listLines_ > 0) {
        const QString plural =
            entryWord_ == QLatin1String("entry") ? QStringLiteral("entries") : entryWord_ + 's';
        counts.append(QStringLiteral("%1 %2 left out: %3 not valid UTF-8")
                          .arg(QString::number(listLines_), listLines_ == 1 ? entryWord_ : plural,
                               theyAre(listLines_)));
    }
    if (files_ > 0 || folders_ > 0) {
        QStringList what;
        if (files_ > 0)
            what.append(counted(files_, QStringLiteral("file")));
        if (folders_ > 0)
            what.append(counted(folders_, QStringLiteral("folder")));
        counts.append(QStringLiteral("%1 left out: %2 not valid UTF-8")
                          .arg(what.join(QStringLiteral(" and ")),
                               files_ + folders_ == 1 ? QStringLiteral("its name is")
                                                      : QStringLiteral("their names are")));
    }
    if (unreadable_ > 0)
        counts.append(QStringLiteral("%1 left out: %2 cannot be read")
                          .arg(counted(unreadable_, QStringLiteral("folder")),
                               unreadable_ == 1 ? QStringLiteral("it") : QStringLiteral("they")));
    if (tooLong_ > 0)
        counts.append(QStringLiteral("%1 left out: %2 longer than the system allows")
                          .arg(counted(tooLong_, QStringLiteral("file")),
                               tooLong_ == 1 ? QStringLiteral("its path is")
                                             : QStringLiteral("their paths are")));
    if (notFiles_ > 0)
        counts.append(QStringLiteral("%1 left out: %2")
                          .arg(counted(notFiles_, QStringLiteral("file")),
                               notFiles_ == 1
                                   ? QStringLiteral("it is a FIFO, a socket or a device")
                                   : QStringLiteral("they are FIFOs, sockets or devices")));
    if (!counts.isEmpty())
        lines.append(counts.join(QStringLiteral("; ")));
    return lines;
}

} // namespace velmora
