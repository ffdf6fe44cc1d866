#include "ResultFormats.h"
#include "QStringPrinter.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace velmora {
namespace {

template <typename Write> QByteArray written(Write write) {
    QBuffer output;
    output.open(QIODevice::WriteOnly);
    EXPECT_TRUE(write(output).ok);
    return output.data();
}

TEST(ResultFormats, JsonStringsAreWhatQtWrites) {
    QString controls;
    for (char16_t code = 0; code < 0x20; ++code)
        controls += QChar(code);
    for (const QString& text :
         {QString(), QStringLiteral("plain/path.txt"), QStringLiteral("a\"b\\c/d"), controls,
          QStringLiteral("\x7F ü 日 😀 \u2028 \uFEFF")}) {
        QString ours;
        appendJsonString(ours, text);
        const QByteArray qts = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
        EXPECT_EQ(ours.toUtf8(), qts.mid(1, qts.size() - 2)) << qts.toStdString();
    }
}

TEST(ResultFormats, JsonLinesReadBackAsTheRows) {
    const std::vector<ResultRow> similar = {
        {"/a/song.mp3", false, "/b/song.mp3", 1.0, MatchStage::None},
        {"/x/line\nbreak, \"q\".txt", true, "/y/line\nbreak.txt", 7.0 / 9, MatchStage::None},
    };
    const std::vector<ResultRow> options = {
        {"/a/p.jpg", false, "/a/p.png", -1, MatchStage::Extension},
        {"/a/p.png", true, "/a/p.jpg", -1, MatchStage::After},
    };
    for (const auto& [rows, reason] :
         {std::pair{similar, ReasonKind::Ratio}, std::pair{options, ReasonKind::Stage}}) {
        const QList<QByteArray> lines =
            written([&](QIODevice& out) { return writeJsonLines(rows, reason, out); }).split('\n');
        ASSERT_EQ(lines.size(), rows.size() + 1);
        EXPECT_TRUE(lines.last().isEmpty());
        for (std::size_t index = 0; index < rows.size(); ++index) {
            const ResultRow& row = rows[index];
            QJsonParseError error;
            const QJsonObject read = QJsonDocument::fromJson(lines[index], &error).object();
            EXPECT_EQ(error.error, QJsonParseError::NoError) << lines[index].toStdString();
            QJsonObject expected{
                {"path", row.path}, {"ticked", row.checked}, {"partner", row.partner}};
            if (reason == ReasonKind::Ratio)
                expected.insert("ratio", row.ratio);
            else
                expected.insert("stage", stageName(row.stage));
            EXPECT_EQ(read, expected) << lines[index].toStdString();
            if (reason == ReasonKind::Ratio) {
                EXPECT_EQ(read.value("ratio").toDouble(), row.ratio) << "exactly, every bit";
            }
        }
    }
}

TEST(ResultFormats, CsvQuotesOnlyWhereItMustAndRowsEndAsAsked) {
    const std::vector<ResultRow> rows = {
        {"/a/plain.txt", false, "/b/plain.txt", 0.75, MatchStage::None},
        {"/a/x,\"y\"\n.txt", true, "/b/x\r.txt", 1.0 / 3, MatchStage::None},
    };
    EXPECT_EQ(written([&](QIODevice& out) { return writeCsv(rows, ReasonKind::Ratio, out); }),
              "ticked,path,partner,ratio,stage\r\n"
              "0,/a/plain.txt,/b/plain.txt,0.75,\r\n"
              "1,\"/a/x,\"\"y\"\"\n.txt\",\"/b/x\r.txt\",0.3333333333333333,\r\n");
    const std::vector<ResultRow> staged = {{"/a/b", true, "/a/b", -1, MatchStage::Path}};
    EXPECT_EQ(written([&](QIODevice& out) { return writeCsv(staged, ReasonKind::Stage, out); }),
              "ticked,path,partner,ratio,stage\r\n1,/a/b,/a/b,,path\r\n");

    EXPECT_EQ(written([&](QIODevice& out) { return writeRowLines(rows, out, true); }),
              QByteArray("0\t/a/plain.txt\0"
                         "1\t/a/x,\"y\"\n.txt\0",
                         31));
}

} // namespace
} // namespace velmora
