#include "MatchReason.h"

#include <cmath>

namespace velmora {

namespace {

QStringView fileNameOf(const QString& path, PathStyle style) {
    return QStringView(path).mid(path.lastIndexOf(QChar(separatorOf(style))) + 1);
}

} // namespace

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

QString resultRowToolTip(const ResultRow& row, const SearchOptions& options, PathStyle style) {
    if (row.partner.isEmpty())
        return {};
    return row.path + QStringLiteral("\nMatched: ") + row.partner + QLatin1Char('\n') +
           matchReasonText(row, options, style);
}

} // namespace velmora
