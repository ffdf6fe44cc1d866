#include "MatchReason.h"

#include "FileContents.h"

#include <QDateTime>
#include <QLocale>

#include <cmath>

namespace velmora {

namespace {

QStringView fileNameOf(const QString& path, PathStyle style) {
    return QStringView(path).mid(path.lastIndexOf(QChar(separatorOf(style))) + 1);
}

// Both the rounded size a user reads at a glance and the exact count, since two files
// of "1.00 MiB" may still differ by a byte.
QString sizeText(std::int64_t size) {
    const QLocale locale;
    if (size < 1024)
        return locale.formattedDataSize(size);
    return locale.formattedDataSize(size) + QStringLiteral(" (") + locale.toString(size) +
           QStringLiteral(" bytes)");
}

QString fileLine(const QString& label, const QString& path) {
    const FileStatus status = statusOf(path);
    QString text = label + QStringLiteral(": ");
    switch (status.kind) {
    case FileStatus::Kind::Gone:
        return text + QStringLiteral("no longer there");
    case FileStatus::Kind::Unreadable:
        return text + QStringLiteral("cannot be looked at (") + status.error + QLatin1Char(')');
    case FileStatus::Kind::NotRegular:
        return text + QStringLiteral("not a regular file");
    case FileStatus::Kind::Regular:
        break;
    }
    const QDateTime modified = QDateTime::fromMSecsSinceEpoch(status.modified / 1'000'000);
    return text + sizeText(status.size) + QStringLiteral(", modified ") +
           modified.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

} // namespace

QString contentFactText(const ContentFact& fact) {
    switch (fact.verdict) {
    case ContentVerdict::Same:
        return QStringLiteral("Same contents");
    case ContentVerdict::Different:
        return QStringLiteral("Contents differ");
    case ContentVerdict::Unknown:
        break;
    }
    return QStringLiteral("Contents not compared: ") + fact.reason;
}

QString matchReasonText(const ResultRow& row, const SearchOptions& options, PathStyle style) {
    if (row.partner.isEmpty())
        return {};
    switch (row.stage) {
    case MatchStage::Path:
        return QStringLiteral("Same path");
    case MatchStage::Extension:
        return QStringLiteral("Same name without extension");
    case MatchStage::Before:
        return QStringLiteral("Same part before \"%1\"").arg(options.Text1);
    case MatchStage::After:
        return QStringLiteral("Same part after \"%1\"").arg(options.Text2);
    case MatchStage::None:
        break;
    }
    if (row.ratio < 0)
        return {};
    if (row.partner == row.path)
        return QStringLiteral("Same path");
    if (fileNameOf(row.partner, style) == fileNameOf(row.path, style))
        return QStringLiteral("Same file name");
    return QStringLiteral("Names %1 % alike").arg(std::lround(row.ratio * 100));
}

QString resultRowToolTip(const ResultRow& row, const SearchOptions& options, PathStyle style,
                         const ContentFact* contents) {
    if (row.partner.isEmpty())
        return {};
    QString tip = row.path + QStringLiteral("\nMatched: ") + row.partner + QLatin1Char('\n') +
                  matchReasonText(row, options, style);
    // A list read in the other system's path style names files that are not here.
    if (style == PathStyle::Posix) {
        tip += QLatin1Char('\n') + fileLine(QStringLiteral("This file"), row.path);
        tip += QLatin1Char('\n') + fileLine(QStringLiteral("Matched file"), row.partner);
    }
    if (contents)
        tip += QLatin1Char('\n') + contentFactText(*contents);
    return tip;
}

} // namespace velmora
