#include "ResultFormats.h"

#include "BufferedTextWriter.h"

#include <algorithm>
#include <charconv>

namespace velmora {

namespace {

// Every row through one writer, so a million rows cost a few hundred writes.
template <typename AppendRow>
WriteOutcome writeEach(const std::vector<ResultRow>& rows, QIODevice& output, const QString& header,
                       AppendRow appendRow) {
    BufferedTextWriter writer(output);
    writer.pending().append(header);
    for (std::size_t index = 0; index < rows.size(); ++index) {
        appendRow(writer.pending(), rows[index], index);
        if (!writer.written())
            break;
    }
    if (!writer.flush())
        return WriteOutcome::failure(writer.errorString());
    return WriteOutcome::success();
}

bool needsCsvQuotes(char16_t code) {
    return code == u',' || code == u'"' || code == u'\n' || code == u'\r';
}

void appendCsvField(QString& line, QStringView text) {
    const auto quoteAt = std::find_if(text.utf16(), text.utf16() + text.size(), needsCsvQuotes);
    if (quoteAt == text.utf16() + text.size()) {
        line.append(text);
        return;
    }
    line.append(QLatin1Char('"'));
    // Runs between quotes go in whole; each quote is doubled.
    qsizetype start = 0;
    for (qsizetype at = quoteAt - text.utf16(); at < text.size(); ++at) {
        if (text[at] != QLatin1Char('"'))
            continue;
        line.append(text.sliced(start, at + 1 - start));
        line.append(QLatin1Char('"'));
        start = at + 1;
    }
    line.append(text.sliced(start));
    line.append(QLatin1Char('"'));
}

} // namespace

void appendRoundTripNumber(QString& line, double number) {
    // The shortest form that reads back exactly, whatever the locale.
    char digits[32];
    const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    line.append(QLatin1StringView(digits, end - digits));
}

QString stageName(MatchStage stage) {
    switch (stage) {
    case MatchStage::Path:
        return QStringLiteral("path");
    case MatchStage::Extension:
        return QStringLiteral("extension");
    case MatchStage::Before:
        return QStringLiteral("before");
    case MatchStage::After:
        return QStringLiteral("after");
    case MatchStage::None:
        break;
    }
    return {};
}

void appendJsonString(QString& line, QStringView text) {
    static constexpr char kHex[] = "0123456789abcdef";
    line.append(QLatin1Char('"'));
    // Runs that need no escape, nearly every path whole, go in at once.
    const char16_t* data = text.utf16();
    qsizetype start = 0;
    for (qsizetype at = 0; at < text.size(); ++at) {
        const char16_t code = data[at];
        if (code >= 0x20 && code != u'"' && code != u'\\')
            continue;
        line.append(text.sliced(start, at - start));
        start = at + 1;
        line.append(QLatin1Char('\\'));
        switch (code) {
        case u'"':
        case u'\\':
            line.append(QChar(code));
            break;
        case u'\b':
            line.append(QLatin1Char('b'));
            break;
        case u'\f':
            line.append(QLatin1Char('f'));
            break;
        case u'\n':
            line.append(QLatin1Char('n'));
            break;
        case u'\r':
            line.append(QLatin1Char('r'));
            break;
        case u'\t':
            line.append(QLatin1Char('t'));
            break;
        default:
            line.append(QLatin1String("u00"));
            line.append(QLatin1Char(kHex[code >> 4]));
            line.append(QLatin1Char(kHex[code & 0xF]));
        }
    }
    line.append(text.sliced(start));
    line.append(QLatin1Char('"'));
}

WriteOutcome writeRowLines(const std::vector<ResultRow>& rows, QIODevice& output,
                           bool nulSeparated) {
    const QChar end = nulSeparated ? QChar(u'\0') : QChar(u'\n');
    return writeEach(rows, output, {}, [end](QString& line, const ResultRow& row, std::size_t) {
        line.append(row.checked ? QLatin1String("1\t") : QLatin1String("0\t"));
        line.append(row.path);
        line.append(end);
    });
}

WriteOutcome writeJsonLines(const std::vector<ResultRow>& rows, ReasonKind reason,
                            QIODevice& output, const std::vector<ContentFact>* content) {
    const bool withContent = content != nullptr;
    return writeEach(rows, output, {}, [&](QString& line, const ResultRow& row, std::size_t index) {
        line.append(QLatin1String("{\"path\":"));
        appendJsonString(line, row.path);
        line.append(row.checked ? QLatin1String(",\"ticked\":true,\"partner\":")
                                : QLatin1String(",\"ticked\":false,\"partner\":"));
        appendJsonString(line, row.partner);
        if (reason == ReasonKind::Ratio) {
            line.append(QLatin1String(",\"ratio\":"));
            appendRoundTripNumber(line, row.ratio);
        } else if (const QString stage = stageName(row.stage); !stage.isEmpty()) {
            line.append(QLatin1String(",\"stage\":\""));
            line.append(stage);
            line.append(QLatin1Char('"'));
        } else {
            line.append(QLatin1String(",\"stage\":null"));
        }
        if (withContent) {
            line.append(QLatin1String(",\"content\":\""));
            line.append(contentVerdictName((*content)[index].verdict));
            line.append(QLatin1Char('"'));
        }
        line.append(QLatin1String("}\n"));
    });
}

WriteOutcome writeCsv(const std::vector<ResultRow>& rows, ReasonKind reason, QIODevice& output,
                      const std::vector<ContentFact>* content) {
    const bool withContent = content != nullptr;
    const QString header = withContent
                               ? QStringLiteral("ticked,path,partner,ratio,stage,content\r\n")
                               : QStringLiteral("ticked,path,partner,ratio,stage\r\n");
    return writeEach(rows, output, header,
                     [&](QString& line, const ResultRow& row, std::size_t index) {
                         line.append(row.checked ? QLatin1String("1,") : QLatin1String("0,"));
                         appendCsvField(line, row.path);
                         line.append(QLatin1Char(','));
                         appendCsvField(line, row.partner);
                         line.append(QLatin1Char(','));
                         if (reason == ReasonKind::Ratio)
                             appendRoundTripNumber(line, row.ratio);
                         line.append(QLatin1Char(','));
                         if (reason == ReasonKind::Stage)
                             line.append(stageName(row.stage));
                         if (withContent) {
                             line.append(QLatin1Char(','));
                             line.append(contentVerdictName((*content)[index].verdict));
                         }
                         line.append(QLatin1String("\r\n"));
                     });
}

} // namespace velmora
