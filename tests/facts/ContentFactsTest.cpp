#include "ContentFacts.h"

#include "TemporaryTree.h"

#include <QFile>

#include <optional>
#include <thread>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {
namespace {

using testing::TemporaryTree;

constexpr qint64 kBlock = 4096;

// Bytes that differ from one position to the next, so a misplaced read shows.
QByteArray patterned(qint64 size) {
    QByteArray bytes(size, Qt::Uninitialized);
    for (qint64 at = 0; at < size; ++at)
        bytes[at] = static_cast<char>((at * 131 + at / 251) & 0xFF);
    return bytes;
}

QString write(TemporaryTree& tree, const QString& name, const QByteArray& bytes) {
    QFile file(tree.path(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return file.fileName();
}

QByteArray flipped(QByteArray bytes, qint64 at) {
    bytes[at] = static_cast<char>(bytes[at] ^ 1);
    return bytes;
}

struct Outcome {
    std::vector<ContentFact> facts;
    std::int64_t bytesRead = 0;
};

Outcome compare(const std::vector<std::pair<QString, QString>>& pairs, ContentHooks hooks = {}) {
    std::vector<ResultRow> rows;
    for (const auto& [path, partner] : pairs)
        rows.emplace_back(path, true, partner, 0.9);
    ContentReadCounts counts;
    hooks.counts = &counts;
    std::vector<std::optional<ContentFact>> reported(rows.size());
    hooks.decided = [&reported](std::size_t row, const ContentFact& fact) {
        EXPECT_FALSE(reported.at(row)) << "row " << row << " reported twice";
        reported.at(row) = fact;
    };
    Outcome outcome{compareContents(rows, hooks), counts.bytesRead.load()};
    // What is reported early is what the end result says; only stopped rows go unreported.
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const ContentFact& fact = outcome.facts[row];
        if (!reported[row]) {
            EXPECT_EQ(fact.reason, QStringLiteral("the comparison was stopped")) << row;
            continue;
        }
        EXPECT_EQ(reported[row]->verdict, fact.verdict) << row;
        EXPECT_EQ(reported[row]->reason, fact.reason) << row;
    }
    return outcome;
}

TEST(ContentFacts, EachPairIsToldByItsBytesReadingNoMoreThanItNeeds) {
    const QByteArray twoBlocks = patterned(2 * kBlock);
    struct Case {
        const char* what;
        QByteArray partner; // the file is twoBlocks
        ContentVerdict verdict;
        qint64 bytesRead;
    };
    const Case cases[] = {
        {"a copy", twoBlocks, ContentVerdict::Same, 4 * kBlock},
        {"first block differs", flipped(twoBlocks, 17), ContentVerdict::Different, 2 * kBlock},
        {"last byte differs", flipped(twoBlocks, 2 * kBlock - 1), ContentVerdict::Different,
         4 * kBlock},
        {"a byte shorter", twoBlocks.chopped(1), ContentVerdict::Different, 0},
        {"both empty", {}, ContentVerdict::Same, 0},
    };
    for (const Case& one : cases) {
        TemporaryTree tree;
        const QString file =
            write(tree, QStringLiteral("a"), one.partner.isEmpty() ? QByteArray() : twoBlocks);
        const QString partner = write(tree, QStringLiteral("b"), one.partner);
        const Outcome outcome = compare({{file, partner}});
        EXPECT_EQ(outcome.facts.at(0).verdict, one.verdict) << one.what;
        EXPECT_EQ(outcome.bytesRead, one.bytesRead) << one.what;
    }
}

TEST(ContentFacts, APartnerThatIsNoReadableFileLeavesTheRowUnknownWithTheReason) {
    TemporaryTree tree;
    const QString file = write(tree, QStringLiteral("file"), patterned(kBlock));
    tree.folder(QStringLiteral("folder"));
    ASSERT_EQ(mkfifo(QFile::encodeName(tree.path(QStringLiteral("fifo"))).constData(), 0600), 0);
    // A link to itself cannot be followed, by the superuser either.
    tree.link(QStringLiteral("loop"), QStringLiteral("loop"));
    std::vector<std::pair<QString, QString>> partners = {
        {QStringLiteral("gone"), QStringLiteral("its partner has gone")},
        {QStringLiteral("folder"), QStringLiteral("its partner is not a regular file")},
        {QStringLiteral("fifo"), QStringLiteral("its partner is not a regular file")},
        {QStringLiteral("loop"), QStringLiteral("its partner cannot be read (")},
    };
    if (geteuid() != 0) {
        write(tree, QStringLiteral("locked"), patterned(kBlock));
        tree.setMode(QStringLiteral("locked"), 0);
        partners.emplace_back(QStringLiteral("locked"),
                              QStringLiteral("its partner cannot be read (Permission denied)"));
    }
    for (const auto& [name, reason] : partners) {
        const Outcome outcome = compare({{file, tree.path(name)}, {tree.path(name), file}});
        EXPECT_EQ(outcome.facts.at(0).verdict, ContentVerdict::Unknown) << name.toStdString();
        EXPECT_TRUE(outcome.facts.at(0).reason.startsWith(reason))
            << outcome.facts.at(0).reason.toStdString();
        EXPECT_TRUE(outcome.facts.at(1).reason.startsWith(QStringLiteral("the file")))
            << outcome.facts.at(1).reason.toStdString();
    }
}

TEST(ContentFacts, AFileNamedByManyRowsIsReadOnce) {
    TemporaryTree tree;
    const QByteArray bytes = patterned(3 * kBlock);
    const QString a = write(tree, QStringLiteral("a"), bytes);
    const QString b = write(tree, QStringLiteral("b"), bytes);
    const QString c = write(tree, QStringLiteral("c"), flipped(bytes, 3 * kBlock - 1));
    const Outcome outcome = compare({{a, b}, {c, b}, {b, a}, {c, a}});
    ASSERT_EQ(outcome.facts.size(), 4U);
    EXPECT_EQ(outcome.facts[0].verdict, ContentVerdict::Same);
    EXPECT_EQ(outcome.facts[1].verdict, ContentVerdict::Different);
    EXPECT_EQ(outcome.facts[2].verdict, ContentVerdict::Same);
    EXPECT_EQ(outcome.facts[3].verdict, ContentVerdict::Different);
    EXPECT_EQ(outcome.bytesRead, 3 * bytes.size());
}

// Four bytes of length do not hold a size past 4 GiB: the last byte must still count.
TEST(ContentFacts, SparseFilesOfFourGibibytesDifferInTheLastByteAndAStopCutsTheirReadShort) {
    TemporaryTree tree;
    constexpr off_t kSize = off_t{4} << 30;
    QString paths[2];
    for (int index = 0; index < 2; ++index) {
        paths[index] = tree.path(QString::number(index));
        const int file =
            ::open(QFile::encodeName(paths[index]).constData(), O_CREAT | O_WRONLY, 0600);
        ASSERT_GE(file, 0);
        ASSERT_EQ(::ftruncate(file, kSize), 0);
        const char last = static_cast<char>(index);
        ASSERT_EQ(::pwrite(file, &last, 1, kSize - 1), 1);
        ::close(file);
    }
    const Outcome outcome = compare({{paths[0], paths[1]}});
    EXPECT_EQ(outcome.facts.at(0).verdict, ContentVerdict::Different);
    EXPECT_EQ(outcome.bytesRead, 2 * kSize);

    // A window closed while a big file is read must not wait for its end.
    ContentReadCounts counts;
    std::stop_source stop;
    std::jthread closer([&] {
        while (counts.bytesRead.load() < 2 * kBlock + (1 << 20))
            std::this_thread::yield();
        stop.request_stop();
    });
    ContentHooks hooks;
    hooks.stop = stop.get_token();
    hooks.counts = &counts;
    std::vector<ResultRow> rows{{paths[0], true, paths[1], 0.9}};
    EXPECT_EQ(compareContents(rows, hooks).at(0).verdict, ContentVerdict::Unknown);
    EXPECT_LT(counts.bytesRead.load(), kSize / 2);
}

TEST(ContentFacts, AStopLeavesTheRowsNotYetDecidedUnknownAndReadsNoFurther) {
    TemporaryTree tree;
    const QByteArray bytes = patterned(4 << 20);
    std::vector<std::pair<QString, QString>> pairs;
    for (int pair = 0; pair < 4; ++pair)
        pairs.emplace_back(write(tree, QStringLiteral("%1a").arg(pair), bytes),
                           write(tree, QStringLiteral("%1b").arg(pair), bytes));
    std::stop_source stop;
    ContentHooks hooks;
    hooks.threads = 1;
    hooks.stop = stop.get_token();
    hooks.progress = [&stop](const ContentProgress& progress) {
        if (progress.stage == ContentProgress::Stage::WholeFiles && progress.filesDone >= 2)
            stop.request_stop();
    };
    const Outcome outcome = compare(pairs, hooks);
    EXPECT_EQ(outcome.facts.at(0).verdict, ContentVerdict::Same);
    EXPECT_EQ(outcome.facts.at(3).verdict, ContentVerdict::Unknown);
    EXPECT_EQ(outcome.facts.at(3).reason, QStringLiteral("the comparison was stopped"));
    EXPECT_LT(outcome.bytesRead, 8 * bytes.size() / 2);

    ContentHooks stopped;
    stopped.stop = stop.get_token();
    const Outcome before = compare(pairs, stopped);
    EXPECT_EQ(before.bytesRead, 0);
    EXPECT_EQ(before.facts.at(0).verdict, ContentVerdict::Unknown);
}

} // namespace
} // namespace velmora
