#include "FindCommand.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

#include <csignal>

inline void PrintTo(const QByteArray& bytes, std::ostream* out) {
    *out << '"' << bytes.toStdString() << '"';
}

namespace velmora {
namespace {

struct Outcome {
    int status = -1;
    QByteArray output;
    QByteArray errors;
};

// The built program, run as a user would run it, with a list on standard input.
Outcome runProgram(const QStringList& arguments, const QByteArray& input,
                   const QString& outputFile = {}) {
    QProcess process;
    if (!outputFile.isEmpty())
        process.setStandardOutputFile(outputFile);
    process.start(VELMORA_FIND_PROGRAM, arguments);
    if (!process.waitForStarted())
        return {};
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

// The same logic in this process, for the cases where no search runs.
Outcome runHere(const QStringList& arguments, const QByteArray& input = {}) {
    QBuffer in;
    in.setData(input);
    in.open(QIODevice::ReadOnly);
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    QBuffer errors;
    errors.open(QIODevice::WriteOnly);
    const int status = runFind(arguments, {in, out, errors, false});
    return {status, out.data(), errors.data()};
}

TEST(FindCommand, UsageErrorsAreOneLineOnStandardErrorAndStatusTwo) {
    const struct {
        QStringList arguments;
        QByteArray message;
    } cases[] = {
        {{"--frobnicate"}, "unknown option '--frobnicate'"},
        {{"--before"}, "missing value after --before"},
        {{"--jobs", "0"}, "--jobs needs a whole number from 1 to 1024, not '0'"},
        {{"--format", "xml"}, "--format must be rows, text, clipboard, json or csv, not 'xml'"},
        {{"--list-only", "--format", "rows"},
         "--list-only prints only paths, so --format cannot be used with it"},
        {{"--content", "--format", "text"}, "--content needs --format json or csv"},
        {{"--content", "--format", "csv", "--path-style", "windows"},
         "--content reads this system's files, so --path-style must be native"},
    };
    for (const auto& [arguments, message] : cases) {
        const Outcome outcome = runHere(arguments, "/a\n/a\n");
        EXPECT_EQ(outcome.status, kUsageOrInputError) << message.toStdString();
        EXPECT_EQ(outcome.errors, "velmora-find: " + message + " (see --help)\n");
        EXPECT_TRUE(outcome.output.isEmpty());
    }
}

TEST(FindCommand, UnreadableListsAreNamed) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString missing = folder.filePath("missing.txt");
    Outcome outcome = runHere({missing});
    EXPECT_EQ(outcome.status, kUsageOrInputError);
    EXPECT_TRUE(outcome.errors.startsWith("velmora-find: cannot read '" + missing.toUtf8() + "': "))
        << outcome.errors.toStdString();
    EXPECT_EQ(outcome.errors.count('\n'), 1);

    outcome = runHere({folder.path()});
    EXPECT_EQ(outcome.status, kUsageOrInputError);
    EXPECT_TRUE(outcome.errors.startsWith("velmora-find: cannot read '"))
        << outcome.errors.toStdString();
}

// As the folder walk leaves out names that are not UTF-8, so does the list.
TEST(FindCommand, ListLinesThatAreNotUtf8AreLeftOutAndCounted) {
    const QByteArray counted = "velmora-find: 1 line left out: it is not valid UTF-8\n";
    const struct {
        QStringList arguments;
        QByteArray input;
        int status;
        QByteArray output;
        QByteArray errors;
    } cases[] = {
        {{"--verbose"},
         "/a/x.txt\n/b/caf\xE9\r.txt\r\n/c/x.txt\n",
         0,
         "0\t/a/x.txt\n1\t/c/x.txt\n",
         "velmora-find: left out (not valid UTF-8): line 2: /b/caf\\xE9\\x0D.txt\n" + counted},
        {{"-0", "--list-only"},
         QByteArray("/a\0/\xFF\0/\xC0\xAF\0/b\0", 13),
         0,
         QByteArray("/a\0/b\0", 6),
         "velmora-find: 2 entries left out: they are not valid UTF-8\n"},
        {{"--ignore-extension"}, "\xE9t\xE9\n", 1, "", "velmora-find: No files added.\n" + counted},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.input.toStdString());
        const Outcome outcome = runHere(test.arguments, test.input);
        EXPECT_EQ(outcome.status, test.status);
        EXPECT_EQ(outcome.output, test.output);
        EXPECT_EQ(outcome.errors, test.errors);
    }
}

// Only NUL-ended rows and lists keep a path with a line break whole; text and clipboard
// stay lines whatever the list came in as.
TEST(FindCommand, EveryLineOutputWarnsOfLineBreaksWithAdviceThatWorks) {
    const QByteArray carriageReturns = "/a/x\ry.txt\n/b/x\ry.txt\n";
    const QByteArray lineFeeds("/a/x\ny.txt\0/b/x\ny.txt\0", 22);
    const QByteArray useNul = "velmora-find: 2 paths hold line breaks; use --null\n";
    const struct {
        QStringList arguments;
        QByteArray errors;
    } cases[] = {
        {{}, useNul},
        {{"--list-only"}, useNul},
        {{"--format", "text"},
         "velmora-find: 1 path holds a line break; use --format json or csv\n"},
        {{"--format", "clipboard"},
         "velmora-find: 2 paths hold line breaks; use --format json or csv\n"},
        {{"--format", "json"}, ""},
        {{"--format", "csv"}, ""},
    };
    for (const auto& [arguments, errors] : cases) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        EXPECT_EQ(runHere(arguments, carriageReturns).errors, errors);
        const bool nulHelps = arguments.isEmpty() || arguments.contains("--list-only");
        EXPECT_EQ(runHere(QStringList{"--null"} + arguments, lineFeeds).errors,
                  nulHelps ? QByteArray() : errors);
    }
}

TEST(FindCommand, VersionIsOneLine) {
    const Outcome outcome = runHere({"--version"});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.output, "velmora-find " VELMORA_VERSION "\n");
}

TEST(FindCommand, HelpExplainsInputOptionsOutputAndStatus) {
    const Outcome outcome = runHere({"--help"});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_TRUE(outcome.errors.isEmpty());
    for (const char* part : {"Usage: velmora-find", "--before TEXT", "--after TEXT",
                             "--ignore-extension", "--path-style native|windows", "--jobs N",
                             "--format rows|text|clipboard", "Exit status", "Example"})
        EXPECT_TRUE(outcome.output.contains(part)) << part;
    for (const QByteArray& line : outcome.output.split('\n'))
        EXPECT_LE(QString::fromUtf8(line).size(), 80) << line.toStdString();
}

// The built program run by the shell, for redirections a QProcess cannot set up.
Outcome runShell(const QString& script, const QString& folder) {
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral("sh"), {"-c", script, VELMORA_FIND_PROGRAM});
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

TEST(FindProgram, NoFailureIsSilent) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QFile(folder.filePath("plain")).open(QIODevice::WriteOnly);
    const struct {
        const char* script;
        QByteArray message;
    } cases[] = {
        {R"sh("$0" < /)sh", "cannot read standard input: Is a directory"},
        {R"sh("$0" <&-)sh", "cannot read standard input: Bad file descriptor"},
        {R"sh("$0" --help > /dev/full)sh", "cannot write the help: No space left on device"},
        {R"sh("$0" --help >&-)sh", "cannot write the help: Bad file descriptor"},
        {R"sh("$0" --version > /dev/full)sh", "cannot write the version: No space left on device"},
        {R"sh("$0" --null < /dev/zero)sh", "standard input, entry 1: empty, which no path can be"},
        {R"sh(printf '/a\n%032768d\n' 0 | "$0")sh",
         "standard input, line 2: longer than 32767 UTF-16 units, which no path can be"},
        {R"sh("$0" "$(printf 'gone\351\n')")sh",
         "cannot read 'gone\\xE9': No such file or directory"},
        {R"sh("$0" --folder "$(printf 'caf\351')")sh",
         "the folder name 'caf\\xE9' cannot be used: it is not valid UTF-8, and this program "
         "holds names as UTF-8 text"},
        {R"sh("$0" --folder plain)sh", "'plain' is not a folder"},
        {R"sh("$0" --folder plain/inside)sh", "'plain/inside' does not exist"},
        {R"sh("$0" --folder missing/..)sh",
         "cannot reach the folder 'missing/..': No such file or directory"},
        // Not "/", which a working folder that is gone would make of ".".
        {R"sh(mkdir gone && cd gone && rmdir ../gone && "$0" --folder .)sh",
         "cannot reach the folder '.': the working folder no longer exists; change to a "
         "folder that does and run again"},
    };
    for (const auto& [script, message] : cases) {
        const Outcome outcome = runShell(script, folder.path());
        EXPECT_EQ(outcome.status, kUsageOrInputError) << script;
        EXPECT_EQ(outcome.errors, "velmora-find: " + message + "\n") << script;
        EXPECT_TRUE(outcome.output.isEmpty()) << script;
    }

    // A list file whose name is not UTF-8 is read all the same.
    const Outcome outcome = runShell(
        R"sh(name="$(printf 'l\351')"; printf '/a/x\n/b/x\n' > "$name"; "$0" "$name"; status=$?; rm "$name"; exit $status)sh",
        folder.path());
    EXPECT_EQ(outcome.status, kDuplicatesFound) << outcome.errors.toStdString();
    EXPECT_EQ(outcome.output, "0\t/a/x\n1\t/b/x\n");
}

TEST(FindProgram, EndlessInputEndsAtOnceInLittleMemory) {
    // Python measures the child's peak memory; the run must not wait for the input's end.
    const QString script = QStringLiteral(
        "import resource, subprocess, sys\n"
        "run = subprocess.run([sys.argv[1]], stdin=open('/dev/zero', 'rb'), capture_output=True, "
        "timeout=30)\n"
        "print(run.returncode, resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)\n"
        "sys.stdout.write(run.stderr.decode())\n");
    QProcess process;
    process.start(QStringLiteral("python3"), {"-c", script, VELMORA_FIND_PROGRAM});
    ASSERT_TRUE(process.waitForFinished(60000));
    const QList<QByteArray> report = process.readAllStandardOutput().split('\n');
    ASSERT_GE(report.size(), 2) << process.readAllStandardError().toStdString();
    const QList<QByteArray> figures = report.at(0).split(' ');
    ASSERT_EQ(figures.size(), 2);
    EXPECT_EQ(figures.at(0), "2");
    EXPECT_LT(figures.at(1).toLongLong(), 64 * 1024) << "peak in KiB";
    EXPECT_EQ(report.at(1), "velmora-find: standard input, line 1: longer than 32767 UTF-16 "
                            "units, which no path can be");
}

TEST(FindProgram, CtrlCEndsTheRunWithStatus130) {
    // Waiting for input that never comes: the program ends anyway.
    QProcess process;
    process.start(VELMORA_FIND_PROGRAM, QStringList{});
    ASSERT_TRUE(process.waitForStarted());
    process.write("/a/x\n/b/x\n");
    // Ready once its main thread holds Ctrl-C back for the thread that takes it.
    const QString status = QStringLiteral("/proc/%1/status").arg(process.processId());
    for (int wait = 0; wait < 200; ++wait) {
        QFile file(status);
        file.open(QIODevice::ReadOnly);
        const QByteArray text = file.readAll();
        const qsizetype at = text.indexOf("SigBlk:");
        const QByteArray blocked = at < 0 ? QByteArray() : text.mid(at + 7, 17).trimmed();
        if (blocked.toULongLong(nullptr, 16) & (1ULL << (SIGINT - 1)))
            break;
        process.waitForFinished(50);
    }
    ::kill(static_cast<pid_t>(process.processId()), SIGINT);
    ASSERT_TRUE(process.waitForFinished(10000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), kInterrupted);
    EXPECT_TRUE(process.readAllStandardOutput().isEmpty());

    // A run told to stop prints no results.
    std::stop_source stop;
    stop.request_stop();
    QBuffer in;
    in.setData("/a/x\n/b/x\n");
    in.open(QIODevice::ReadOnly);
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    QBuffer errors;
    errors.open(QIODevice::WriteOnly);
    EXPECT_EQ(runFind({}, {in, out, errors, false}, stop.get_token()), kInterrupted);
    EXPECT_TRUE(out.data().isEmpty());
}

TEST(FindProgram, AfterTextOfSeveralCharactersIsFoundWhole) {
    // Keys: "Y", "Y" and "xbY", which holds no "ab" and stays whole.
    const Outcome outcome = runProgram({"--after", "ab"}, "/1/xabY\n/2/zabY\n/3/xbY\n");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.output, "0\t/1/xabY\n1\t/2/zabY\n");
}

TEST(FindProgram, RowsListEachFileOnceWithTheLastOfAGroupTicked) {
    // Three names that all match one another, and one that matches nothing.
    const Outcome outcome =
        runProgram({}, "/music/song.mp3\n/backup/song.mp3\n/misc/zzqq\n/old/song.mp3\n");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.output, "0\t/music/song.mp3\n0\t/backup/song.mp3\n1\t/old/song.mp3\n");
    EXPECT_TRUE(outcome.errors.isEmpty()) << "no progress when standard error is not a terminal";
}

// A file reached through a link to its folder, or through "//" and "/./", is one file:
// its rows stay, unticked, as a file listed twice does.
TEST(FindProgram, OneFileUnderTwoPathsIsNotItsOwnDuplicate) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString a1 = folder.filePath("A1");
    ASSERT_TRUE(QDir().mkpath(a1));
    QFile(a1 + "/only.doc").open(QIODevice::WriteOnly);
    ASSERT_TRUE(QFile::link(a1, a1 + "link"));

    EXPECT_EQ(runProgram({"--folder", a1, "--folder", a1 + "link"}, QByteArray()).output,
              ("0\t" + a1 + "/only.doc\n0\t" + a1 + "link/only.doc\n").toUtf8());
    const QString forms =
        a1 + "/only.doc\n" + folder.path() + "//A1/only.doc\n" + a1 + "/./only.doc\n";
    const QByteArray output = runProgram({}, forms.toUtf8()).output;
    EXPECT_FALSE(output.contains("1\t")) << output.toStdString();
    EXPECT_EQ(output.count('\n'), 3);
}

// What cmp says of two files, in the words of --content.
QString cmpVerdict(const QString& path, const QString& partner) {
    switch (QProcess::execute(QStringLiteral("cmp"), {"-s", "--", path, partner})) {
    case 0:
        return QStringLiteral("same");
    case 1:
        return QStringLiteral("different");
    }
    return QStringLiteral("unknown");
}

TEST(FindProgram, ContentAgreesWithCmpInJsonAndCsv) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QByteArray body = QByteArray(10000, 'r');
    const struct {
        const char* name;
        QByteArray bytes; // nothing: the file is not there
    } files[] = {
        {"report.txt", body},          {"report (1).txt", body}, {"notes.txt", body + "a"},
        {"notes (1).txt", body + "b"}, {"photo.jpg", body},      {"photo (1).jpg", body + body},
        {"letter.odt", "x"},           {"letter (1).odt", {}},
    };
    QByteArray list;
    for (const auto& [name, bytes] : files) {
        list += folder.filePath(name).toUtf8() + '\n';
        if (bytes.isEmpty())
            continue;
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }

    const Outcome json = runProgram({"--content", "--format", "json"}, list);
    EXPECT_EQ(json.status, 0) << json.errors.toStdString();
    QStringList seen;
    for (const QByteArray& line : json.output.split('\n')) {
        if (line.isEmpty())
            continue;
        const QJsonObject row = QJsonDocument::fromJson(line).object();
        const QString path = row["path"].toString();
        EXPECT_EQ(row["content"].toString(), cmpVerdict(path, row["partner"].toString()))
            << line.toStdString();
        seen.append(row["content"].toString());
    }
    for (const char* verdict : {"same", "different", "unknown"})
        EXPECT_TRUE(seen.contains(verdict)) << verdict;

    const Outcome csv = runProgram({"--content", "--format", "csv"}, list);
    EXPECT_EQ(csv.status, 0);
    QList<QByteArray> lines = csv.output.split('\n');
    EXPECT_EQ(lines.takeFirst(), "ticked,path,partner,ratio,stage,content\r");
    for (const QByteArray& line : lines) {
        if (line.isEmpty())
            continue;
        const QStringList fields = QString::fromUtf8(line.chopped(1)).split(',');
        ASSERT_EQ(fields.size(), 6) << line.toStdString();
        EXPECT_EQ(fields[5], cmpVerdict(fields[1], fields[2])) << line.toStdString();
    }
}

TEST(FindProgram, NothingFoundIsStatusOne) {
    for (const QByteArray& input :
         {QByteArray(), QByteArray("/only/one.txt\n"), QByteArray("/a/abcde\n/b/vwxyz\n")}) {
        const Outcome outcome = runProgram({}, input);
        EXPECT_EQ(outcome.status, 1) << input.toStdString();
        EXPECT_TRUE(outcome.output.isEmpty());
        EXPECT_EQ(outcome.errors, input.isEmpty() ? "velmora-find: No files added.\n" : "");
    }
}

TEST(FindProgram, SimilarityIsStrictlyAboveSixtyPercent) {
    // abcde / abcxy share 3 of 5 characters each: exactly 60, no match; with the shared
    // extension the ratio is 14 / 18.
    EXPECT_EQ(runProgram({}, "/x/abcde\n/y/abcxy\n").status, 1);
    const Outcome outcome = runProgram({}, "/x/abcde.txt\n/y/abcxy.txt\n");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.output, "0\t/x/abcde.txt\n1\t/y/abcxy.txt\n");
}

TEST(FindProgram, PathStyleDecidesWhereTheFileNameStarts) {
    const QByteArray list = "C:\\a\\abc-1.txt\r\nD:\\abc-2.doc\r\n";
    const Outcome windows = runProgram({"--path-style", "windows", "--before", "-"}, list);
    EXPECT_EQ(windows.status, 0);
    EXPECT_EQ(windows.output, "0\tC:\\a\\abc-1.txt\n1\tD:\\abc-2.doc\n");

    // As native paths both lines are whole file names that differ before the hyphen.
    EXPECT_EQ(runProgram({"--before", "-"}, list).status, 1);
}

TEST(FindProgram, OptionModeComparesKeysExactly) {
    const QByteArray list = "/a/photo.jpg\n/b/Photo.jpg\n/c/photo.png\n";
    const Outcome outcome = runProgram({"--ignore-extension"}, list);
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.output, "0\t/a/photo.jpg\n1\t/c/photo.png\n");

    // An empty before-text cuts nothing but still selects the option mode, in which only
    // identical paths match.
    EXPECT_EQ(runProgram({"--before", ""}, "/a/same.txt\n/b/same.txt\n").status, 1);
    EXPECT_EQ(runProgram({"--before="}, "/a/same.txt\n/a/same.txt\n").output, "0\t/a/same.txt\n");
}

TEST(FindProgram, TextFormatIsTheSavedFileByteForByte) {
    const Outcome outcome = runProgram({"--format", "text"}, "/x/a.txt\n/long/dir/a.txt\n");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.output, "File(s)        \t\r\n"
                              "/long/dir/a.txt\t\r\n");

    const Outcome none = runProgram({"--format=text"}, "/x/abcde\n/y/vwxyz\n");
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.output, "File(s)\t\r\n");
}

TEST(FindProgram, ClipboardFormatIsTheCopiedTextByteForByte) {
    const Outcome outcome =
        runProgram({"--format", "clipboard"}, "/x/a.txt\n/long/dir/a.txt\n/y/b.txt \n");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.output, "/x/a.txt\r\n/long/dir/a.txt\r\n/y/b.txt \r\n");
}

TEST(FindProgram, ListFileGivesWhatStandardInputGives) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QByteArray list;
    for (int entry = 0; entry < 400; ++entry)
        list += "/d" + QByteArray::number(entry % 7) + "/name" + QByteArray::number(entry % 37) +
                (entry % 3 ? ".txt" : ".jpg") + "\n";
    const QString path = folder.filePath("list.txt");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(list);
    file.close();

    const Outcome fromInput = runProgram({}, list);
    const Outcome fromFile = runProgram({path}, "ignored");
    const Outcome oneWorker = runProgram({"--jobs", "1", "-"}, list);
    EXPECT_EQ(fromInput.status, 0);
    EXPECT_FALSE(fromInput.output.isEmpty());
    EXPECT_EQ(fromFile.output, fromInput.output);
    EXPECT_EQ(oneWorker.output, fromInput.output);
}

TEST(FindProgram, UnicodePathsComeOutAsTheyWentIn) {
    const QByteArray list = "\xEF\xBB\xBF/m\xC3\xBCsik/\xE6\x97\xA5\xE6\x9C\xAC.mp3\r\n"
                            "/backup/\xE6\x97\xA5\xE6\x9C\xAC.mp3\r\n";
    const Outcome outcome = runProgram({}, list);
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.output, "0\t/m\xC3\xBCsik/\xE6\x97\xA5\xE6\x9C\xAC.mp3\n"
                              "1\t/backup/\xE6\x97\xA5\xE6\x9C\xAC.mp3\n");
}

TEST(FindProgram, OutputThatCannotBeWrittenIsAnError) {
    if (!QFile::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full here";
    const Outcome outcome = runProgram({}, "/a/x.txt\n/b/x.txt\n", "/dev/full");
    EXPECT_EQ(outcome.status, kUsageOrInputError);
    EXPECT_TRUE(outcome.errors.startsWith("velmora-find: cannot write the results: "))
        << outcome.errors.toStdString();
}

} // namespace
} // namespace velmora
