#include "FindArguments.h"
#include "NameBytes.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

FindArguments parsed(const QStringList& arguments) {
    const FindArgumentsParsing parsing = parseFindArguments(arguments);
    EXPECT_TRUE(parsing.ok()) << parsing.error.toStdString();
    return parsing.arguments;
}

QString errorOf(const QStringList& arguments) {
    return parseFindArguments(arguments).error;
}

TEST(FindArguments, NothingGivenMeansSimilarityRowsFromStandardInput) {
    const FindArguments arguments = parsed({});
    EXPECT_FALSE(arguments.options.optionMode());
    EXPECT_EQ(arguments.style, PathStyle::Posix);
    EXPECT_EQ(arguments.format, OutputFormat::Rows);
    EXPECT_EQ(arguments.jobs, 0);
    EXPECT_TRUE(arguments.listFile.isEmpty());
    EXPECT_FALSE(arguments.help);
}

TEST(FindArguments, NameOptionsTurnOnTheirChecks) {
    const FindArguments arguments =
        parsed({"--before", "-", "--after=_x", "--ignore-extension", "list.txt"});
    EXPECT_EQ(arguments.options.Check1, 1);
    EXPECT_EQ(arguments.options.Text1, QString("-"));
    EXPECT_EQ(arguments.options.Check2, 1);
    EXPECT_EQ(arguments.options.Text2, QString("_x"));
    EXPECT_EQ(arguments.options.Check3, 1);
    EXPECT_EQ(arguments.listFile, QString("list.txt"));

    const FindArguments onlyAfter = parsed({"--after", " "});
    EXPECT_EQ(onlyAfter.options.Check1, 0);
    EXPECT_EQ(onlyAfter.options.Check2, 1);
    EXPECT_EQ(onlyAfter.options.Text2, QString(" ")) << "a blank is an ordinary text";
    EXPECT_EQ(onlyAfter.options.Check3, 0);
}

TEST(FindArguments, EmptyTextStillChoosesTheOptionMode) {
    const FindArguments separate = parsed({"--before", ""});
    EXPECT_EQ(separate.options.Check1, 1);
    EXPECT_EQ(separate.options.Text1, QString(""));
    EXPECT_TRUE(separate.options.optionMode());

    const FindArguments joined = parsed({"--after="});
    EXPECT_EQ(joined.options.Check2, 1);
    EXPECT_EQ(joined.options.Text2, QString(""));
}

TEST(FindArguments, ValuesAreTakenAsTheyAre) {
    EXPECT_EQ(parsed({"--before", "--after"}).options.Text1, QString("--after"));
    EXPECT_EQ(parsed({"--before", "--after"}).options.Check2, 0);
    EXPECT_EQ(parsed({"--before=a=b"}).options.Text1, QString("a=b"));
    EXPECT_EQ(parsed({"--before", "x", "--before", "y"}).options.Text1, QString("y"));
}

TEST(FindArguments, StyleJobsAndFormat) {
    EXPECT_EQ(parsed({"--path-style", "windows"}).style, PathStyle::Windows);
    EXPECT_EQ(parsed({"--path-style=native"}).style, PathStyle::Posix);
    EXPECT_EQ(parsed({"--jobs", "1"}).jobs, 1);
    EXPECT_EQ(parsed({"--jobs=1024"}).jobs, 1024);
    EXPECT_EQ(parsed({"--format", "text"}).format, OutputFormat::Text);
    EXPECT_EQ(parsed({"--format=clipboard"}).format, OutputFormat::Clipboard);
    EXPECT_EQ(parsed({"--format", "rows"}).format, OutputFormat::Rows);
    EXPECT_EQ(parsed({"--format=json"}).format, OutputFormat::Json);
    EXPECT_EQ(parsed({"--format", "csv"}).format, OutputFormat::Csv);
    EXPECT_TRUE(parsed({"-0"}).nulSeparated);
    EXPECT_TRUE(parsed({"--null", "--list-only"}).nulSeparated);
    EXPECT_TRUE(parsed({"-0h"}).help) << "one-letter options may be joined";
    EXPECT_TRUE(parsed({"--version"}).version);
    EXPECT_EQ(errorOf({"-0x"}), QString("unknown option '-0x'"));
}

TEST(FindArguments, ListFileAndStandardInput) {
    EXPECT_EQ(parsed({"-"}).listFile, QString("-"));
    EXPECT_EQ(parsed({"--", "--odd-name"}).listFile, QString("--odd-name"));
    EXPECT_EQ(parsed({"list", "--ignore-extension"}).options.Check3, 1);
    EXPECT_TRUE(parsed({"-h"}).help);
    EXPECT_TRUE(parsed({"list", "--help"}).help);
}

TEST(FindArguments, ProblemsAreNamed) {
    EXPECT_EQ(errorOf({"--bogus"}), QString("unknown option '--bogus'"));
    EXPECT_EQ(errorOf({"-x"}), QString("unknown option '-x'"));
    EXPECT_EQ(errorOf({"--Before", "a"}), QString("unknown option '--Before'"));
    EXPECT_EQ(errorOf({"--before"}), QString("missing value after --before"));
    EXPECT_EQ(errorOf({"--ignore-extension", "--after"}), QString("missing value after --after"));
    EXPECT_EQ(errorOf({"--format"}), QString("missing value after --format"));
    EXPECT_EQ(errorOf({"--ignore-extension=yes"}), QString("--ignore-extension takes no value"));
    EXPECT_EQ(errorOf({"--format", "xml"}),
              QString("--format must be rows, text, clipboard, json or csv, not 'xml'"));
    EXPECT_EQ(errorOf({"--path-style", "posix"}),
              QString("--path-style must be native or windows, not 'posix'"));
    EXPECT_EQ(errorOf({"a.txt", "b.txt"}),
              QString("only one list file can be read, got 'a.txt' and 'b.txt'"));
    EXPECT_EQ(errorOf({"--before", argumentFromBytes("caf\xE9")}),
              QString("--before needs UTF-8 text, not 'caf\\xE9'"));
    EXPECT_EQ(errorOf({"--oops\nline"}), QString("unknown option '--oops\\x0Aline'"));
    EXPECT_EQ(errorOf({"--bogus", "--format", "xml"}), QString("unknown option '--bogus'"))
        << "the first problem is the one reported";
}

TEST(FindArguments, JobsMustBeAPositiveWholeNumber) {
    for (const char* bad : {"0", "-1", "two", "", "1.5", "1025", "99999999999", "+3", "4x"})
        EXPECT_EQ(errorOf({"--jobs", bad}),
                  QString("--jobs needs a whole number from 1 to 1024, not '%1'").arg(bad))
            << bad;
}

} // namespace
} // namespace velmora
