#include "PathListReader.h"

#include <gtest/gtest.h>

#include <ostream>

inline void PrintTo(const QStringList& list, std::ostream* out) {
    *out << '[';
    for (const QString& item : list)
        *out << '"' << item.toStdString() << "\" ";
    *out << ']';
}

namespace velmora {
namespace {

QStringList pathsOf(const QByteArray& bytes) {
    const PathListReading reading = readPathList(bytes);
    EXPECT_TRUE(reading.ok()) << "line " << reading.invalidLine;
    return reading.paths;
}

qsizetype badLineOf(const QByteArray& bytes) {
    return readPathList(bytes).invalidLine;
}

TEST(PathListReader, LineEndingsAndEmptyLines) {
    EXPECT_EQ(pathsOf(""), QStringList{});
    EXPECT_EQ(pathsOf("/a"), QStringList{"/a"});
    EXPECT_EQ(pathsOf("/a\n"), QStringList{"/a"}) << "a final LF adds no empty path";
    EXPECT_EQ(pathsOf("/a\r\n/b\r\n"), (QStringList{"/a", "/b"}));
    EXPECT_EQ(pathsOf("/a\n/b"), (QStringList{"/a", "/b"}));
    EXPECT_EQ(pathsOf("/a\n\n/b\n"), (QStringList{"/a", "", "/b"}));
    EXPECT_EQ(pathsOf("\n"), QStringList{""});
    EXPECT_EQ(pathsOf("\n\n"), (QStringList{"", ""}));
    EXPECT_EQ(pathsOf("\r\n"), QStringList{""});
    EXPECT_EQ(pathsOf("/a\n\n"), (QStringList{"/a", ""}));
}

TEST(PathListReader, OnlyTheCrBeforeTheLfIsLineEnding) {
    EXPECT_EQ(pathsOf("/a\r\r\n"), QStringList{"/a\r"});
    EXPECT_EQ(pathsOf("/a\rb\n"), QStringList{"/a\rb"});
    EXPECT_EQ(pathsOf("/a\r"), QStringList{"/a\r"}) << "no LF follows, so the CR is kept";
    EXPECT_EQ(pathsOf(" /a \t\n"), QStringList{" /a \t"}) << "blanks are part of a path";
}

TEST(PathListReader, DecodesUtf8AndDropsALeadingByteOrderMark) {
    EXPECT_EQ(pathsOf("/m\xC3\xBCsic/\xE6\x97\xA5.mp3\n/\xF0\x9F\x98\x80\n"),
              (QStringList{QStringLiteral("/müsic/日.mp3"), QStringLiteral("/😀")}));
    EXPECT_EQ(pathsOf("\xEF\xBB\xBF/a\n/b\n"), (QStringList{"/a", "/b"}));
    EXPECT_EQ(pathsOf("/a\n\xEF\xBB\xBF/b\n"), (QStringList{"/a", QStringLiteral("\uFEFF/b")}))
        << "only a mark at the very start is dropped";
    EXPECT_EQ(pathsOf("\xEF\xBB\xBF\xEF\xBB\xBF/a\n\xEF\xBB\xBF\xEF\xBB\xBF"
                      "b"),
              (QStringList{QStringLiteral("\uFEFF/a"), QStringLiteral("\uFEFF\uFEFFb")}));
}

TEST(PathListReader, InvalidUtf8IsReportedWithItsLine) {
    EXPECT_EQ(badLineOf("\xFF"), 1);
    EXPECT_EQ(badLineOf("/a\n/b\n/c\xE9t\xE9\n/d\n"), 3) << "Latin-1 text";
    EXPECT_EQ(badLineOf("/a\n/b\xC3"), 2) << "cut off at the end";
    EXPECT_EQ(badLineOf("/a\xC3\n"), 1) << "cut off by the line end";
    EXPECT_EQ(badLineOf("\n\n\xC0\xAF"), 3) << "overlong slash";
    EXPECT_EQ(badLineOf("\xE0\x80\xAF"), 1) << "overlong in three bytes";
    EXPECT_EQ(badLineOf("\xF0\x80\x80\xAF"), 1) << "overlong in four bytes";
    EXPECT_EQ(badLineOf("x\n\xED\xA0\x80"), 2) << "surrogate";
    EXPECT_EQ(badLineOf("\xF4\x90\x80\x80"), 1) << "above U+10FFFF";
    EXPECT_EQ(badLineOf("\xF5\x80\x80\x80"), 1);
    EXPECT_EQ(badLineOf("\x80"), 1) << "stray continuation byte";
    EXPECT_TRUE(readPathList("/a\n/b\xC3").paths.isEmpty());

    // The fast path skips eight plain bytes at a time; a bad byte anywhere in or after
    // such a run is still found.
    for (int at = 0; at < 20; ++at) {
        QByteArray bytes(20, 'a');
        bytes[at] = '\xFE';
        EXPECT_EQ(firstInvalidUtf8(bytes), at);
    }
}

TEST(PathListReader, LargestValidSequencesAreAccepted) {
    EXPECT_EQ(firstInvalidUtf8("\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBF"
                               "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF"),
              -1);
    EXPECT_EQ(pathsOf("\xF4\x8F\xBF\xBF").first().size(), 2);
}

TEST(PathListReader, ManyLines) {
    QByteArray bytes;
    for (int line = 0; line < 100000; ++line)
        bytes += "/folder/" + QByteArray::number(line) + (line % 2 ? "\r\n" : "\n");
    const QStringList paths = pathsOf(bytes);
    ASSERT_EQ(paths.size(), 100000);
    EXPECT_EQ(paths.first(), QString("/folder/0"));
    EXPECT_EQ(paths.at(77777), QString("/folder/77777"));
    EXPECT_EQ(paths.last(), QString("/folder/99999"));
}

} // namespace
} // namespace velmora
