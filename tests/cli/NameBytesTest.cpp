#include "NameBytes.h"
#include "LeftOutReport.h"
#include "QStringPrinter.h"

#include <gtest/gtest.h>

#include <vector>

namespace velmora {
namespace {

TEST(NameBytes, ArgumentsKeepTheirBytesAndShowOnOneLine) {
    const struct {
        QByteArray bytes;
        QByteArray shown;
        bool invalid;
    } cases[] = {
        {"plain/name.txt", "plain/name.txt", false},
        {"caf\xC3\xA9", "caf\xC3\xA9", false},
        {"caf\xE9", "caf\\xE9", true},
        {"\xEF\xBB\xBFmark", "\xEF\xBB\xBFmark", false},
        {"a\nb\tc\x7F", "a\\x0Ab\\x09c\\x7F", false},
        {"back\\slash", "back\\\\slash", false},
        {"\xC2\x9B"
         "2J",
         "\\xC2\\x9B2J", false},
        {"\xED\xA0\x80\xC0\xAF", "\\xED\\xA0\\x80\\xC0\\xAF", true},
        {"\xFF\xFE", "\\xFF\\xFE", true},
    };
    for (const auto& [bytes, shown, invalid] : cases) {
        const QString argument = argumentFromBytes(bytes);
        EXPECT_EQ(bytesOfArgument(argument), bytes) << shown.toStdString();
        EXPECT_EQ(holdsInvalidBytes(argument), invalid) << shown.toStdString();
        EXPECT_EQ(escapedBytes(bytes).toUtf8(), shown);
        EXPECT_EQ(escapedName(argument).toUtf8(), shown);
    }
}

TEST(LeftOutReport, OneLineCountsWhatWasLeftOutAndVerboseNamesEach) {
    using LeftOut = LeftOutReport::LeftOut;
    EXPECT_TRUE(LeftOutReport(true).lines().isEmpty());

    LeftOutReport quiet(false);
    quiet.add(LeftOut::FileNameNotUtf8, "/t/caf\xE9.txt");
    EXPECT_EQ(quiet.lines(), QStringList{"1 file left out: its name is not valid UTF-8"});

    LeftOutReport verbose(true);
    const auto hook = verbose.hook();
    hook(LeftOut::FolderUnreadable, "/t/closed");
    hook(LeftOut::FolderNameNotUtf8, "/t/\xFF");
    hook(LeftOut::FileNameNotUtf8, "/t/a\nb\xE9");
    hook(LeftOut::FileNameNotUtf8, "/t/\xE9");
    EXPECT_EQ(verbose.lines(),
              (QStringList{"left out (folder cannot be read): /t/closed",
                           "left out (name not valid UTF-8): /t/\\xFF",
                           "left out (name not valid UTF-8): /t/a\\x0Ab\\xE9",
                           "left out (name not valid UTF-8): /t/\\xE9",
                           "2 files and 1 folder left out: their names are not valid UTF-8; "
                           "1 folder left out: it cannot be read"}));
}

TEST(LeftOutReport, CountsSayOneOrMany) {
    using LeftOut = LeftOutReport::LeftOut;
    const struct {
        std::vector<LeftOut> told;
        QString line;
    } cases[] = {
        {{LeftOut::PathTooLong}, "1 file left out: its path is longer than the system allows"},
        {{LeftOut::PathTooLong, LeftOut::PathTooLong},
         "2 files left out: their paths are longer than the system allows"},
        {{LeftOut::FolderNameNotUtf8}, "1 folder left out: its name is not valid UTF-8"},
        {{LeftOut::FolderUnreadable, LeftOut::NotAFile, LeftOut::NotAFile},
         "1 folder left out: it cannot be read; 2 files left out: they are FIFOs, sockets or "
         "devices"},
    };
    for (const auto& [told, line] : cases) {
        LeftOutReport report(false);
        for (const LeftOut what : told)
            report.add(what, "/x");
        EXPECT_EQ(report.lines(), QStringList{line});
    }
}

} // namespace
} // namespace velmora
