#include "DuplicateSearch.h"
#include "KeyGroups.h"
#include "NameKeys.h"
#include "QStringPrinting.h"
#include "SimilarFilename.h"
#include "reference/ReferenceSearch.h"

#include <QHash>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <thread>

namespace velmora {

void PrintTo(const ResultRow& row, std::ostream* out) {
    *out << (row.checked ? "[x] " : "[ ] ") << row.path.toStdString() << " ~ "
         << row.partner.toStdString() << " (" << row.ratio << ", " << static_cast<int>(row.stage)
         << ")";
}

namespace {

SearchOptions similarityMode() {
    SearchOptions options;
    options.Check1 = options.Check2 = options.Check3 = 0;
    return options;
}

SearchOptions extensionOnly() {
    SearchOptions options = similarityMode();
    options.Check3 = 1;
    return options;
}

std::vector<ResultRow> rows(std::initializer_list<std::pair<const char*, bool>> list) {
    std::vector<ResultRow> result;
    for (const auto& [path, checked] : list)
        result.push_back({QString::fromUtf8(path), checked});
    return result;
}

// The rows' paths and ticks only; the partners and reasons have a test of their own.
std::vector<ResultRow> find(const QStringList& paths, const SearchOptions& options,
                            int threads = 1) {
    SearchHooks hooks;
    hooks.threads = threads;
    std::vector<ResultRow> found = findDuplicates(paths, options, PathStyle::Windows, hooks);
    for (ResultRow& row : found)
        row = {row.path, row.checked};
    return found;
}

TEST(DuplicateSearch, GroupsKeepOnlyEachPathsLastRow) {
    // A, B and C all alike: rows A B* A C* B C* before the clean-up.
    const QStringList all{R"(C:\x\photo1.jpg)", R"(C:\x\photo2.jpg)", R"(C:\x\photo3.jpg)"};
    EXPECT_EQ(find(all, similarityMode()), rows({{R"(C:\x\photo1.jpg)", false},
                                                 {R"(C:\x\photo2.jpg)", false},
                                                 {R"(C:\x\photo3.jpg)", true}}));
    // A and C alike, B and C alike, A and B not: rows A C* B C*.
    const QStringList chain{R"(C:\abcdef)", R"(C:\ghijkl)", R"(C:\abcdefghijkl)"};
    EXPECT_EQ(
        find(chain, similarityMode()),
        rows({{R"(C:\abcdef)", false}, {R"(C:\ghijkl)", false}, {R"(C:\abcdefghijkl)", true}}));
    // Two separate pairs: nothing to remove.
    const QStringList pairs{R"(C:\one.txt)", R"(D:\one.doc)", R"(C:\two.txt)", R"(D:\two.doc)"};
    EXPECT_EQ(find(pairs, extensionOnly()), rows({{R"(C:\one.txt)", false},
                                                  {R"(D:\one.doc)", true},
                                                  {R"(C:\two.txt)", false},
                                                  {R"(D:\two.doc)", true}}));
}

TEST(DuplicateSearch, SimilarityModeFollowsTheRatioAndItsThreshold) {
    EXPECT_EQ(find({R"(C:\a\a.txt)", R"(C:\b\b.txt)"}, similarityMode()).size(), 2u);
    EXPECT_TRUE(find({R"(C:\a\abcde)", R"(C:\b\abcxy)"}, similarityMode()).empty());
    EXPECT_EQ(find({R"(C:\a\abcde.txt)", R"(C:\b\abcxy.txt)"}, similarityMode()).size(), 2u);
    EXPECT_EQ(find({R"(C:\a\photo.jpg)", R"(C:\b\PHOTO.JPG)"}, similarityMode()).size(), 2u);
    EXPECT_TRUE(find({R"(C:\a\photo.jpg)", R"(C:\b\PHOTO.JPG)"}, extensionOnly()).empty());
    // The earlier entry's name comes first, and the ratio is not symmetric.
    EXPECT_EQ(find({R"(C:\AB)", R"(C:\BACB)"}, similarityMode()),
              rows({{R"(C:\AB)", false}, {R"(C:\BACB)", true}}));
    EXPECT_TRUE(find({R"(C:\BACB)", R"(C:\AB)"}, similarityMode()).empty());
    // BACB is not alike to the later AB, but the earlier AB is alike to it.
    EXPECT_EQ(find({R"(C:\p\AB)", R"(C:\q\BACB)", R"(C:\r\AB)"}, similarityMode()),
              rows({{R"(C:\q\BACB)", true}, {R"(C:\p\AB)", false}, {R"(C:\r\AB)", true}}));
}

TEST(DuplicateSearch, ListsWithoutPairsFindNothing) {
    EXPECT_TRUE(find({}, similarityMode()).empty());
    EXPECT_TRUE(find({}, extensionOnly()).empty());
    EXPECT_TRUE(find({R"(C:\only.txt)"}, similarityMode()).empty());
    EXPECT_TRUE(find({R"(C:\only.txt)"}, extensionOnly()).empty());
}

TEST(DuplicateSearch, RepeatedPathsMatchThemselvesButAreNotTickedForIt) {
    const QStringList twice{R"(C:\a\same.txt)", R"(C:\b\other.doc)", R"(C:\a\same.txt)"};
    SearchOptions emptyBefore = similarityMode();
    emptyBefore.Check1 = 1;
    emptyBefore.Text1 = "";
    for (const SearchOptions& options : {similarityMode(), extensionOnly(), emptyBefore})
        EXPECT_EQ(find(twice, options), rows({{R"(C:\a\same.txt)", false}}));

    // A path repeated after an alike one keeps the tick it earned from the other path.
    const QStringList alike{R"(C:\a\photo1.jpg)", R"(C:\a\photo2.jpg)", R"(C:\a\photo1.jpg)"};
    EXPECT_EQ(find(alike, similarityMode()),
              rows({{R"(C:\a\photo2.jpg)", false}, {R"(C:\a\photo1.jpg)", true}}));
    // Alike only with the repeated name first (AB before BACB), found far from the last copy.
    const QStringList oneWay{R"(C:\AB)", R"(C:\BACB)", R"(C:\x)", R"(C:\AB)"};
    EXPECT_EQ(find(oneWay, similarityMode()), rows({{R"(C:\BACB)", true}, {R"(C:\AB)", true}}));

    // Many copies of one path reduce to one unticked row without any pair work.
    const QStringList copies(20000, QStringLiteral("/home/u/copy.txt"));
    SearchHooks hooks;
    hooks.threads = 2;
    for (const SearchOptions& options : {similarityMode(), extensionOnly()}) {
        const std::vector<ResultRow> found =
            findDuplicates(copies, options, PathStyle::Posix, hooks);
        ASSERT_EQ(found.size(), 1u);
        EXPECT_FALSE(found.front().checked);
    }
}

TEST(DuplicateSearch, EveryRowNamesItsPartnerAndWhyTheyMatched) {
    SearchOptions beforeHyphen = extensionOnly();
    beforeHyphen.Check1 = 1;
    beforeHyphen.Text1 = "-";
    SearchOptions afterUnderscore = similarityMode();
    afterUnderscore.Check2 = 1;
    afterUnderscore.Text2 = "_";
    const struct {
        QStringList paths;
        SearchOptions options;
        std::vector<ResultRow> expected;
    } cases[] = {
        {{R"(C:\AB)", R"(C:\BACB)"},
         similarityMode(),
         {{R"(C:\AB)", false, R"(C:\BACB)", 4.0 / 6}, {R"(C:\BACB)", true, R"(C:\AB)", 4.0 / 6}}},
        {{R"(C:\a.txt)", R"(C:\x\a.txt)", R"(C:\a.txt)"},
         similarityMode(),
         {{R"(C:\x\a.txt)", false, R"(C:\a.txt)", 1}, {R"(C:\a.txt)", true, R"(C:\x\a.txt)", 1}}},
        {{R"(D:\one.doc)", R"(C:\one.txt)", R"(C:\one.txt)"},
         extensionOnly(),
         {{R"(D:\one.doc)", false, R"(C:\one.txt)", -1, MatchStage::Extension},
          {R"(C:\one.txt)", true, R"(C:\one.txt)", -1, MatchStage::Path}}},
        {{R"(C:\Report-1.txt)", R"(C:\Report-2.doc)"},
         beforeHyphen,
         {{R"(C:\Report-1.txt)", false, R"(C:\Report-2.doc)", -1, MatchStage::Before},
          {R"(C:\Report-2.doc)", true, R"(C:\Report-1.txt)", -1, MatchStage::Before}}},
        {{R"(C:\x_y.txt)", R"(C:\z_y.txt)"},
         afterUnderscore,
         {{R"(C:\x_y.txt)", false, R"(C:\z_y.txt)", -1, MatchStage::After},
          {R"(C:\z_y.txt)", true, R"(C:\x_y.txt)", -1, MatchStage::After}}},
    };
    for (const auto& each : cases)
        EXPECT_EQ(findDuplicates(each.paths, each.options, PathStyle::Windows), each.expected)
            << each.paths.join(" ").toStdString();
}

TEST(DuplicateSearch, ProgressComesFromTheCallingThreadAndStopEndsTheRun) {
    QStringList paths;
    for (int i = 0; i < 300; ++i)
        paths << QStringLiteral("/d/file%1.txt").arg(i);
    std::vector<SearchProgress> reports;
    bool otherThread = false;
    const auto caller = std::this_thread::get_id();
    SearchHooks hooks;
    hooks.threads = 2;
    hooks.progress = [&](const SearchProgress& progress) {
        otherThread = otherThread || std::this_thread::get_id() != caller;
        reports.push_back(progress);
    };
    const auto found = findDuplicates(paths, similarityMode(), PathStyle::Posix, hooks);
    EXPECT_EQ(found.size(), 300u);
    EXPECT_FALSE(otherThread);
    ASSERT_GE(reports.size(), 2u);
    EXPECT_EQ(reports.front().stage, SearchProgress::Stage::Pairs);
    EXPECT_EQ(reports.back().stage, SearchProgress::Stage::CleanUp);
    for (const SearchProgress& progress : reports)
        EXPECT_LE(progress.position, progress.count);

    std::stop_source stop;
    stop.request_stop();
    hooks.stop = stop.get_token();
    EXPECT_TRUE(findDuplicates(paths, similarityMode(), PathStyle::Posix, hooks).empty());
    EXPECT_TRUE(findDuplicates(paths, extensionOnly(), PathStyle::Posix, hooks).empty());
}

// Groupings tell how far they have got in steps, so a run over millions of paths can move
// its progress on in small steps; a false answer ends the grouping there.
TEST(KeyGroups, GroupingReportsEachStepAndStopsWhenTold) {
    const std::vector<QStringView> texts(10, u"same");
    struct Case {
        size_t step;
        int stopAfterCall; // 0: never
        std::vector<size_t> expected;
    };
    const Case cases[] = {{3, 0, {3, 3, 3, 1}}, {5, 0, {5, 5, 0}}, {20, 0, {10}}, {3, 2, {3, 3}}};
    for (const Case& test : cases) {
        std::vector<size_t> reported;
        const KeyGroups groups = groupEqualTexts(texts, test.step, [&](size_t moreGrouped) {
            reported.push_back(moreGrouped);
            return static_cast<int>(reported.size()) != test.stopAfterCall;
        });
        EXPECT_EQ(reported, test.expected) << test.step;
        if (test.stopAfterCall == 0) {
            EXPECT_EQ(groups.groupCount, 1);
        }
    }
}

// Lists built to hit the awkward cases often: repeated paths, empty names, names that
// differ in case or only in a character or two, names with and without extensions, long
// names, and names in other scripts.
class ListMaker {
public:
    explicit ListMaker(quint32 seed) : random_(seed) {}

    QStringList list(PathStyle style) {
        const QString separator(QChar(separatorOf(style)));
        const QStringList folders{"C:" + separator + "a", "C:" + separator + "b",
                                  separator + "srv" + separator + "x", "d"};
        QStringList bases = someBases();
        const int size = static_cast<int>(random_.bounded(random_.bounded(4) == 0 ? 40 : 14));
        QStringList paths;
        // Now and then the same paths twice over, as when one folder is added twice.
        const bool twice = size < 20 && random_.bounded(5) == 0;
        for (int i = 0; i < size; ++i) {
            if (!paths.isEmpty() && random_.bounded(6) == 0) {
                paths << paths[static_cast<qsizetype>(random_.bounded(paths.size()))];
                continue;
            }
            const QString& folder = folders[static_cast<qsizetype>(random_.bounded(4))];
            const QString name =
                variant(bases[static_cast<qsizetype>(random_.bounded(bases.size()))]);
            // The odd path without a folder, or with a separator of the other style inside.
            if (random_.bounded(12) == 0)
                paths << name;
            else if (random_.bounded(12) == 0)
                paths << folder + (style == PathStyle::Windows ? "/" : "\\") + name;
            else
                paths << folder + separator + name;
        }
        if (twice)
            paths += paths;
        return paths;
    }

    SearchOptions options() {
        static const QString texts[] = {"", "-", "_", "a", "A", "ab", "-1", ".", "x", "é"};
        SearchOptions options;
        options.Check1 = pickCheck();
        options.Text1 = texts[random_.bounded(10)];
        options.Check2 = pickCheck();
        options.Text2 = texts[random_.bounded(10)];
        options.Check3 = pickCheck();
        return options;
    }

private:
    int pickCheck() {
        const int roll = static_cast<int>(random_.bounded(10));
        return roll < 5 ? 0 : roll < 9 ? 1 : 2;
    }

    QStringList someBases() {
        // Pairs alike only one way round: which one stands first decides.
        static const QStringList oneWay{"abcbca", "bcacbc", "ba",    "abca", "bab",
                                        "abaabb", "aba",    "babca", "ccab", "abccb"};
        if (random_.bounded(4) == 0)
            return oneWay;
        static const QStringList pool{"photo",  "Photo",    "report-1", "report_2", "a-b_c",
                                      "x_y-1",  "abcde",    "abcxy",    "AB",       "BACB",
                                      "",       ".profile", "..",       "note",     "notes",
                                      "straße", "STRASSE",  "фото",     "ФОТО-1",   "写真",
                                      "写真2",  "résumé",   "RÉSUMÉ",   "aaaa",     "aaab"};
        QStringList bases;
        for (int i = 0; i < 5; ++i)
            bases << pool[static_cast<qsizetype>(random_.bounded(pool.size()))];
        if (random_.bounded(4) == 0)
            bases << QString("a_rather_long_file_name_from_a_camera_import_").repeated(2);
        return bases;
    }

    QString variant(QString name) {
        static const QString extensions[] = {"", ".txt", ".TXT", ".x", "", ".tar.gz", "."};
        switch (random_.bounded(5)) {
        case 0:
            if (!name.isEmpty())
                name[static_cast<qsizetype>(random_.bounded(name.size()))] =
                    QChar(u'a' + random_.bounded(3));
            break;
        case 1:
            name = name.toUpper();
            break;
        case 2:
            name.insert(static_cast<qsizetype>(random_.bounded(name.size() + 1)), u'-');
            break;
        default:
            break;
        }
        return name + extensions[random_.bounded(7)];
    }

    QRandomGenerator random_;
};

std::string describe(const QStringList& paths, const SearchOptions& options) {
    std::string text = "options " + std::to_string(options.Check1) + " \"" +
                       options.Text1.toStdString() + "\" " + std::to_string(options.Check2) +
                       " \"" + options.Text2.toStdString() + "\" " +
                       std::to_string(options.Check3) + "; list:";
    for (const QString& path : paths)
        text += "\n  " + path.toStdString();
    return text;
}

// A stand-in for the file system, for comparing the two searches only: the folders "a" and
// "b" of drive C are one folder (as a folder and a link to it are), so are "/srv/x" and
// "d", and names holding "note" do not exist.
QString fakeEntryOf(const QString& path, PathStyle style) {
    const qsizetype separator = path.lastIndexOf(QChar(separatorOf(style)));
    const QString name = path.sliced(separator + 1);
    if (separator < 0 || name.contains("note", Qt::CaseInsensitive))
        return "text " + path;
    static const QHash<QString, QString> oneFolder{{"C:/b", "C:/a"}, {"d", "/srv/x"}};
    const QString folder = path.first(separator).replace(QChar(separatorOf(style)), u'/');
    return "entry " + oneFolder.value(folder, folder) + "|" + name;
}

// The engine never builds the pair rows; the literal search does. They must agree on
// every list, with paths compared as text or, given `withEntries`, as fakeEntryOf's entries.
void compareOnGeneratedLists(quint32 seed, bool withEntries, int& listsWithRows, int& asked) {
    ListMaker maker(seed);
    const reference::RatioFunction ratio = [](const QString& a, const QString& b) {
        return SimilarityRatio(a, b);
    };
    for (int round = 0; round < 3000; ++round) {
        const PathStyle style = round % 2 == 0 ? PathStyle::Windows : PathStyle::Posix;
        const QStringList paths = maker.list(style);
        const SearchOptions options = round % 3 == 0 ? similarityMode() : maker.options();
        reference::EntryFunction entryOf;
        if (withEntries)
            entryOf = [style](const QString& path) { return fakeEntryOf(path, style); };
        const std::vector<ResultRow> expected =
            reference::findDuplicates(paths, options, style, ratio, entryOf);
        listsWithRows += expected.empty() ? 0 : 1;
        SearchHooks hooks;
        hooks.threads = 1 + round % 2;
        if (entryOf)
            hooks.firstPathOfSameEntry = [&](const std::vector<QStringView>& asking) {
                ++asked;
                std::vector<int> firsts;
                std::map<QString, int> firstOfEntry;
                for (const QStringView path : asking)
                    firsts.push_back(
                        firstOfEntry.try_emplace(entryOf(path.toString()), int(firsts.size()))
                            .first->second);
                return firsts;
            };
        ASSERT_EQ(findDuplicates(paths, options, style, hooks), expected)
            << describe(paths, options);
    }
}

TEST(DuplicateSearch, AgreesWithThePairByPairSearchOnGeneratedLists) {
    int listsWithRows = 0;
    int asked = 0;
    compareOnGeneratedLists(20210831, false, listsWithRows, asked);
    EXPECT_GT(listsWithRows, 1500);
}

TEST(DuplicateSearch, AgreesWithThePairByPairSearchWhereTwoFoldersAreOne) {
    int listsWithRows = 0;
    int asked = 0;
    compareOnGeneratedLists(16, true, listsWithRows, asked);
    EXPECT_GT(asked, 300);
}

// Longer lists spread the names over many tasks and threads, and bring names longer than
// the character counts can hold.
TEST(DuplicateSearch, AgreesWithThePairByPairSearchOnLongerLists) {
    ListMaker maker(4242);
    const reference::RatioFunction ratio = [](const QString& a, const QString& b) {
        return SimilarityRatio(a, b);
    };
    const QString veryLong = QString("holiday_pictures_from_the_coast_").repeated(9);
    for (int round = 0; round < 6; ++round) {
        const PathStyle style = round % 2 == 0 ? PathStyle::Windows : PathStyle::Posix;
        const QString separator(QChar(separatorOf(style)));
        QStringList paths;
        while (paths.size() < 300)
            paths << maker.list(style);
        paths.resize(300);
        if (round == 1) {
            paths.resize(150);
            paths += paths;
        }
        for (int i = 0; i < 6; ++i)
            paths.insert(50 * i + round, "d" + separator + veryLong + QString::number(i % 3) +
                                             (i % 2 == 0 ? ".jpg" : ".JPG"));
        const SearchOptions options = round < 4 ? similarityMode() : maker.options();
        SearchHooks hooks;
        hooks.threads = 2;
        ASSERT_EQ(findDuplicates(paths, options, style, hooks),
                  reference::findDuplicates(paths, options, style, ratio))
            << describe(paths, options);
    }
}

// Names of one small alphabet (UUIDs, hashes) get past the cheap bounds; lengths about 64,
// 128 and 256 cross the edges of the lanes and the words; near copies sit around the
// threshold, and a wider alphabet now and then leaves codes without a class of their own.
// The later rounds put hundreds of names into two lengths, so that names go through many
// blocks in runs, and pairs are left to the second scan.
TEST(DuplicateSearch, AgreesWithThePairByPairSearchOnHashLikeAndLongNames) {
    QRandomGenerator random(1234);
    const reference::RatioFunction ratio = [](const QString& a, const QString& b) {
        return SimilarityRatio(a, b);
    };
    const int lengths[] = {8, 36, 40, 63, 64, 65, 127, 128, 129, 255, 256, 257};
    const QString extensions[] = {".JPG", ".HEIC", ".mov", ""};
    const QString hexDigits = "0123456789ABCDEF";
    const QString wide = QStringLiteral("abcdefghijklmnopqrstuvwxyz_!~\u00e9\u6587\u0416");
    for (int round = 0; round < 8; ++round) {
        QStringList names;
        QStringList paths;
        const bool crowded = round >= 6;
        for (int i = 0; i < (crowded ? 300 : 120); ++i) {
            const QString& alphabet = random.bounded(5) == 0 ? wide : hexDigits;
            auto randomCode = [&] { return alphabet[random.bounded(alphabet.size())]; };
            QString name;
            if (!names.isEmpty() && random.bounded(3) == 0) {
                name = names[random.bounded(names.size())];
                for (int edits = static_cast<int>(random.bounded(name.size() / 3 + 1)); edits > 0;
                     --edits)
                    name[random.bounded(name.size())] = randomCode();
            } else {
                const int length =
                    crowded ? 36 + 4 * static_cast<int>(random.bounded(2))
                            : lengths[random.bounded(static_cast<int>(std::size(lengths)))];
                for (int at = 0; at < length; ++at)
                    name += length == 36 && (at == 8 || at == 13 || at == 18 || at == 23)
                                ? QChar(u'-')
                                : randomCode();
            }
            names << name;
            paths << "/p/" + QString::number(i % 5) + "/" + name +
                         extensions[random.bounded(static_cast<int>(std::size(extensions)))];
        }
        SearchHooks hooks;
        hooks.threads = 1 + round % 2;
        ASSERT_EQ(findDuplicates(paths, similarityMode(), PathStyle::Posix, hooks),
                  reference::findDuplicates(paths, similarityMode(), PathStyle::Posix, ratio))
            << describe(paths, similarityMode());
    }
}

// A big list is scanned in longer runs of names when fewer threads share it; the rows must
// not depend on how it was cut. Thousands of names of two lengths, a third of them near
// copies, some sorted as a folder walk lists them.
TEST(DuplicateSearch, RunsOfAnyLengthFindTheSameRows) {
    QRandomGenerator random(77);
    const QString hexDigits = "0123456789ABCDEF";
    QStringList paths;
    for (int i = 0; i < 6000; ++i) {
        QString name;
        if (i > 0 && random.bounded(3) == 0) {
            name = paths[random.bounded(paths.size())].section(u'/', -1);
            for (int edits = 1 + static_cast<int>(random.bounded(12)); edits > 0; --edits)
                name[random.bounded(name.size())] = hexDigits[random.bounded(16)];
        } else {
            for (int at = 0, length = 36 + 4 * static_cast<int>(random.bounded(2)); at < length;
                 ++at)
                name += hexDigits[random.bounded(16)];
        }
        paths << "/p/" + name;
    }
    std::sort(paths.begin(), paths.begin() + 3000);
    SearchHooks oneThread;
    oneThread.threads = 1;
    SearchHooks manyThreads;
    manyThreads.threads = 16;
    EXPECT_EQ(findDuplicates(paths, similarityMode(), PathStyle::Posix, oneThread),
              findDuplicates(paths, similarityMode(), PathStyle::Posix, manyThreads));
}

// Track names of 60 to 300 characters from one pool of words, as a music library holds
// them: nearly every name is alike to another, and a list sorted as a folder walk gives it
// finds its alike names in another order than the same list shuffled or reversed (where
// alike names are mostly earlier ones). Now and then a track is there twice, or in upper
// case, which settles pairs before the bounds are asked.
TEST(DuplicateSearch, AgreesWithThePairByPairSearchOnLongTrackNamesSortedAndShuffled) {
    QRandomGenerator random(2011);
    const reference::RatioFunction ratio = [](const QString& a, const QString& b) {
        return SimilarityRatio(a, b);
    };
    const QStringList words{"Love", "Night",    "Heart",    "Blue",   "Gold",  "Road",  "River",
                            "Star", "Midnight", "Electric", "Summer", "Angel", "Ocean", "Dream"};
    auto phrase = [&](int shortest, int longest) {
        QStringList chosen;
        for (int count = shortest + static_cast<int>(random.bounded(longest - shortest + 1));
             count > 0; --count)
            chosen << words[random.bounded(words.size())];
        return chosen.join(u' ');
    };
    for (int round = 0; round < 6; ++round) {
        QStringList paths;
        while (paths.size() < 160) {
            const QString artist = phrase(1, 3 + 4 * (round % 2));
            const QString album = phrase(1, 4 + 6 * (round % 2));
            for (int track = 1; track <= 9; ++track) {
                QString name = artist + " - " + album + " - 0" + QString::number(track) + " - " +
                               phrase(1, 6 + 12 * (round % 2)) +
                               (random.bounded(2) == 0 ? " (Remastered 2011)" : "") + ".flac";
                if (name.size() < 60)
                    name.prepend(QString(60 - name.size(), u'_'));
                paths << "/m/" + artist + "/" + name.left(300);
                if (random.bounded(20) == 0)
                    paths << (random.bounded(2) == 0 ? paths.last() : paths.last().toUpper());
            }
        }
        if (round >= 4)
            std::reverse(paths.begin(), paths.end());
        else if (round >= 2)
            std::shuffle(paths.begin(), paths.end(), random);
        SearchHooks hooks;
        hooks.threads = 1 + round % 2;
        ASSERT_EQ(findDuplicates(paths, similarityMode(), PathStyle::Posix, hooks),
                  reference::findDuplicates(paths, similarityMode(), PathStyle::Posix, ratio))
            << describe(paths, similarityMode());
    }
}

TEST(DuplicateSearch, ReferencePairTestAgreesWithTheProductionOne) {
    ListMaker maker(99);
    for (int round = 0; round < 300; ++round) {
        const PathStyle style = round % 2 == 0 ? PathStyle::Windows : PathStyle::Posix;
        const QStringList paths = maker.list(style);
        const SearchOptions options = maker.options();
        for (qsizetype i = 0; i < paths.size(); ++i)
            for (qsizetype j = i + 1; j < paths.size(); ++j)
                ASSERT_EQ(MatchByOptions(paths[i], paths[j], options, style),
                          reference::MatchByOptions(paths[i], paths[j], options, style))
                    << paths[i].toStdString() << " / " << paths[j].toStdString();
    }
}

} // namespace
} // namespace velmora
