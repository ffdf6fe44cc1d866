#pragma once

#include "FolderWalk.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace velmora {

// What the folder walks had to leave out, told at the end of a run: counted in one line,
// and with `listEach` named one by one before it.
class LeftOutReport {
public:
    using LeftOut = FolderWalkHooks::LeftOut;

    explicit LeftOutReport(bool listEach) : listEach_(listEach) {}

    void add(LeftOut what, const QByteArray& nativePath);
    // The hook for a walk; the report must outlive the walk.
    std::function<void(LeftOut, const QByteArray&)> hook();

    // The lines to print, without the program's name; empty when nothing was left out.
    QStringList lines() const;

private:
    bool listEach_;
    qsizetype files_ = 0;
    qsizetype folders_ = 0;
    qsizetype unreadable_ = 0;
    QList<std::pair<LeftOut, QByteArray>> items_;
};

} // namespace velmora
