#pragma once

#include "FolderWalk.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace velmora {

// What the folder walks and the list reader had to leave out, told at the end of a run:
// counted in one line, and with `listEach` named one by one before it.
class LeftOutReport {
public:
    using LeftOut = FolderWalkHooks::LeftOut;

    explicit LeftOutReport(bool listEach) : listEach_(listEach) {}

    void add(LeftOut what, const QByteArray& nativePath);
    // The hook for a walk; the report must outlive the walk.
    std::function<void(LeftOut, const QByteArray&)> hook();
    // A list line (or NUL-separated entry, `entryWord` "entry") that is not valid UTF-8.
    void addListLine(qsizetype number, const QByteArray& bytes, const QString& entryWord);

    // The lines to print, without the program's name; empty when nothing was left out.
    QStringList lines() const;

private:
    bool listEach_;
    qsizetype files_ = 0;
    qsizetype folders_ = 0;
    qsizetype unreadable_ = 0;
    qsizetype tooLong_ = 0;
    qsizetype notFiles_ = 0;
    qsizetype listLines_ = 0;
    QString entryWord_;
    QStringList named_;
};

} // namespace velmora
