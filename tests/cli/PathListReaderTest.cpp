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
    EXPECT_TRUE(reading.ok());
    EXPECT_TRUE(reading.notUtf8.isEmpty()) << "line " << reading.notUtf8.first().number;
    return reading.paths;
}

qsizetype badLineOf(const QByteArray& bytes) {
    const PathListReading reading = readPathList(bytes);
    return reading.notUtf8.isEmpty() ? 0 : reading.notUtf8.first().number;
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
    // Left out, with its bytes, and the reading goes on.
    const PathListReading reading = readPathList("/a\n/b\xC3\r\n\xFF\n/c");
    EXPECT_TRUE(reading.ok());
    EXPECT_EQ(reading.paths, (QStringList{"/a", "/c"}));
    EXPECT_EQ(reading.notUtf8, (QList<PathListReading::LeftOutLine>{{2, "/b\xC3"}, {3, "\xFF"}}));

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

namespace velmora {
namespace {

struct HostileList {
    const char* what;
    QByteArray bytes;
    PathListReader::Separator separator;
    QStringList paths;         // when the list is fine
    qsizetype invalidLine = 0; // the first line left out as not UTF-8
    qsizetype tooLongLine = 0;
    qsizetype emptyEntry = 0;
};

QByteArray repeated(const QByteArray& piece, qsizetype times) {
    return piece.repeated(times);
}

// Whatever the input, and however it arrives, the reader gives the same paths and the
// same first line left out, or names the same line that ends the reading.
TEST(PathListReader, HostileInputs) {
    using Separator = PathListReader::Separator;
    const QString longest(kLongestPath, QLatin1Char('a'));
    const HostileList cases[] = {
        {"Latin-1", "/ok\n/caf\xE9\n", Separator::LineFeed, {"/ok"}, 2},
        {"overlong NUL", "/a\xC0\x80", Separator::LineFeed, {}, 1},
        {"overlong slash, 3 bytes", "\n\xE0\x80\xAF", Separator::LineFeed, {""}, 2},
        {"high surrogate", "\xED\xA0\xBD\xED\xB8\x80", Separator::LineFeed, {}, 1},
        {"low surrogate alone", "/x\n/y\n\xED\xB0\x80", Separator::LineFeed, {"/x", "/y"}, 3},
        {"NUL inside a line",
         QByteArray("/a\0b\n", 5),
         Separator::LineFeed,
         {QString(QStringLiteral("/a") + QChar(0) + QStringLiteral("b"))}},
        {"CR only", "/a\r/b\r", Separator::LineFeed, {"/a\r/b\r"}},
        {"a mark and nothing else", "\xEF\xBB\xBF", Separator::LineFeed, {}},
        {"mark inside the list kept",
         "/a\n\xEF\xBB\xBF/b",
         Separator::LineFeed,
         {"/a", QStringLiteral("\uFEFF/b")}},
        {"longest line", longest.toUtf8() + "\n", Separator::LineFeed, {longest}},
        {"one unit too long", longest.toUtf8() + "b\n", Separator::LineFeed, {}, 0, 1},
        {"too long in pairs of units",
         "/a\n" + repeated("\xF0\x9F\x98\x80", kLongestPath / 2) + "bc",
         Separator::LineFeed,
         {},
         0,
         2},
        {"endless line", QByteArray(4 * kLongestPath, '\0'), Separator::LineFeed, {}, 0, 1},
        {"NUL separated, line breaks kept",
         QByteArray("/a\nb\r\n\0\xEF\xBB\xBF/c\0", 13),
         Separator::Nul,
         {"/a\nb\r\n", QStringLiteral("\uFEFF/c")}},
        {"NUL separated, empty entry", QByteArray("/a\0\0/b", 7), Separator::Nul, {}, 0, 0, 2},
        {"endless NULs", QByteArray(1000, '\0'), Separator::Nul, {}, 0, 0, 1},
        {"NUL separated, bad bytes", QByteArray("/a\0/\xFF\0", 6), Separator::Nul, {"/a"}, 2},
    };
    for (const HostileList& list : cases) {
        for (const qsizetype piece : {list.bytes.size() + 1, qsizetype(7)}) {
            PathListReader reader(list.separator);
            for (qsizetype at = 0; at < list.bytes.size(); at += piece)
                reader.add(
                    QByteArrayView(list.bytes).sliced(at, std::min(piece, list.bytes.size() - at)));
            const PathListReading reading = reader.finish();
            EXPECT_EQ(reading.notUtf8.isEmpty() ? 0 : reading.notUtf8.first().number,
                      list.invalidLine)
                << list.what << ", pieces of " << piece;
            EXPECT_EQ(reading.tooLongLine, list.tooLongLine)
                << list.what << ", pieces of " << piece;
            EXPECT_EQ(reading.emptyEntry, list.emptyEntry) << list.what << ", pieces of " << piece;
            EXPECT_EQ(reading.paths, list.paths) << list.what << ", pieces of " << piece;
        }
    }
}

TEST(PathListReader, FiveMillionEmptyLines) {
    const PathListReading reading = readPathList(QByteArray(5'000'000, '\n'));
    EXPECT_TRUE(reading.ok());
    EXPECT_EQ(reading.paths.size(), 5'000'000);
    EXPECT_TRUE(reading.paths.last().isEmpty());
}

} // namespace
} // namespace velmora
