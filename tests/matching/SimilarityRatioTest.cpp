#include "LongestCommonSubsequence.h"
#include "SimilarFilename.h"
#include "SimilarityThreshold.h"
#include "reference/ReferenceRatio.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTextStream>

#include <gtest/gtest.h>

#include <algorithm>

namespace velmora {
namespace {

struct RatioCase {
    QString first;
    QString second;
    double expected;
};

// The worked values, and the edges where the rules are easiest to get wrong.
const RatioCase ratioCases[] = {
    {"holiday1.jpg", "holiday2.jpg", 22.0 / 24.0},
    {"Report.doc", "report.DOC", 1.0},
    {"a.txt", "b.txt", 8.0 / 10.0},
    {"abcde", "abcxy", 0.6},
    {"abc", "xyz", 0.0},
    {"AB", "BACB", 4.0 / 6.0},
    {"BACB", "AB", 2.0 / 6.0},
    {"", "", 1.0},
    {"", "a", 0.0},
    {"a", "", 0.0},
    {"Abc.TXT", "abd.txt", 12.0 / 14.0}, // blocks AB and .TXT, case ignored inside the count
    {"abcde.txt", "abcxy.txt", 14.0 / 18.0},
    // Upper-casing the whole name may change its length; such names are still equal.
    {QStringLiteral("straße.txt"), QStringLiteral("STRASSE.TXT"), 1.0},
    // Each 16-bit unit is a code of its own: the two halves of a character beyond the
    // basic plane match as two.
    {QStringLiteral("\U0001D49Cb"), QStringLiteral("\U0001D49Cc"), 4.0 / 6.0},
    // Characters outside any single-byte code page keep distinct codes.
    {QStringLiteral("写真"), QStringLiteral("音乐"), 0.0},
    {QStringLiteral("ΦΩΤΟ.jpg"), QStringLiteral("φωτο1.JPG"), 16.0 / 17.0},
};

TEST(SimilarityRatio, WorkedValuesAndEdges) {
    for (const RatioCase& c : ratioCases) {
        const std::string label = (c.first + " / " + c.second).toStdString();
        EXPECT_EQ(SimilarityRatio(c.first, c.second), c.expected) << label;
        EXPECT_EQ(reference::SimilarityRatio(c.first, c.second), c.expected) << label;
    }
}

TEST(SimilarityRatio, ExactlySixtyIsNotAlike) {
    EXPECT_EQ(similarityScore(3, 10), 60.0);
    EXPECT_FALSE(scoreIsAlike(similarityScore(3, 10)));
    EXPECT_FALSE(scoreIsAlike(SimilarityRatio("abcde", "abcxy") * 100));
    EXPECT_EQ(minimumMatchedCharacters(10), 4);
    EXPECT_EQ(minimumMatchedCharacters(18), 6);
    // The table the search uses agrees with the double arithmetic at every length.
    for (int total = 1; total <= 5000; ++total) {
        const int needed = minimumMatchedCharacters(total);
        ASSERT_TRUE(scoreIsAlike(similarityScore(needed, total))) << total;
        ASSERT_FALSE(scoreIsAlike(similarityScore(needed - 1, total))) << total;
    }
}

struct FixtureLine {
    QString first;
    QString second;
    int matched = 0;
    double ratio = 0;
};

std::vector<FixtureLine> readFixture() {
    QFile file(QStringLiteral(VELMORA_SOURCE_DIR "/tests/matching/ratio_fixture.tsv"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    std::vector<FixtureLine> lines;
    QTextStream stream(&file);
    stream.setEncoding(QStringConverter::Utf8);
    while (!stream.atEnd()) {
        const QString line = stream.readLine();
        if (line.startsWith(u'#'))
            continue;
        const QStringList fields = line.split(u'\t');
        if (fields.size() != 4)
            return {};
        lines.push_back({fields[0], fields[1], fields[2].toInt(), fields[3].toDouble()});
    }
    return lines;
}

TEST(SimilarityRatio, AgreesWithAnIndependentImplementation) {
    const std::vector<FixtureLine> lines = readFixture();
    ASSERT_EQ(lines.size(), 1500u) << "ratio_fixture.tsv missing or malformed";
    int checkedAgainstReference = 0;
    for (const FixtureLine& line : lines) {
        const std::string label = (line.first + " / " + line.second).toStdString();
        const std::u16string first = similarityCodes(line.first);
        const std::u16string second = similarityCodes(line.second);
        EXPECT_EQ(SimilarityRatio(line.first, line.second), line.ratio) << label;
        EXPECT_EQ(CountMatchingCharacters(first, second), line.matched) << label;
        EXPECT_TRUE(matchingCharactersReach(first, second, line.matched)) << label;
        EXPECT_FALSE(matchingCharactersReach(first, second, line.matched + 1)) << label;
        // The literal version is slow on long names; the short ones are plenty.
        if (line.first.size() <= 40 && line.second.size() <= 40) {
            EXPECT_EQ(reference::SimilarityRatio(line.first, line.second), line.ratio) << label;
            ++checkedAgainstReference;
        }
    }
    EXPECT_GT(checkedAgainstReference, 500);
}

QString randomName(QRandomGenerator& random, const QString& alphabet, int maxLength) {
    const int length = static_cast<int>(random.bounded(maxLength + 1));
    QString name;
    for (int i = 0; i < length; ++i)
        name.append(alphabet[static_cast<qsizetype>(random.bounded(alphabet.size()))]);
    return name;
}

// Few distinct letters make many blocks of equal length, where only the tie-break order
// decides which one is taken and so what is left to either side.
TEST(SimilarityRatio, AgreesWithTheLiteralVersionOnCrowdedAlphabets) {
    QRandomGenerator random(7);
    const QString alphabets[] = {"ab", "aAb", "abc.", QStringLiteral("aäÄb")};
    for (int round = 0; round < 20000; ++round) {
        const QString& alphabet = alphabets[round % 4];
        const QString first = randomName(random, alphabet, 12);
        const QString second = randomName(random, alphabet, 12);
        ASSERT_EQ(SimilarityRatio(first, second), reference::SimilarityRatio(first, second))
            << first.toStdString() << " / " << second.toStdString();
    }
}

int plainLongestCommonSubsequence(std::u16string_view a, std::u16string_view b) {
    std::vector<int> row(b.size() + 1, 0);
    for (const char16_t code : a) {
        int diagonal = 0;
        for (size_t j = 1; j <= b.size(); ++j) {
            const int above = row[j];
            row[j] = code == b[j - 1] ? diagonal + 1 : std::max(row[j], row[j - 1]);
            diagonal = above;
        }
    }
    return row[b.size()];
}

TEST(LongestCommonSubsequence, MatchesThePlainTableAcrossWordBoundaries) {
    QRandomGenerator random(11);
    LongestCommonSubsequence subsequence;
    const int patternLengths[] = {0, 1, 5, 63, 64, 65, 127, 128, 129, 200};
    for (const int patternLength : patternLengths) {
        for (int round = 0; round < 40; ++round) {
            QString pattern;
            for (int i = 0; i < patternLength; ++i)
                pattern.append(QChar(u"abcd.\u00e9\u6587"[random.bounded(7)]));
            const std::u16string patternCodes = similarityCodes(pattern);
            subsequence.setPattern(patternCodes);
            const std::u16string text =
                similarityCodes(randomName(random, QStringLiteral("abcd.e\u00c9\u6587x"), 150));
            const int expected = plainLongestCommonSubsequence(patternCodes, text);
            ASSERT_EQ(subsequence.lengthWith(text), expected) << patternLength;
            // The early answers hold right at the length, either side of it.
            for (const int needed : {expected - 1, expected, expected + 1})
                ASSERT_EQ(subsequence.reaches(text, needed), needed <= expected)
                    << patternLength << " needing " << needed;
            // The subsequence bounds the block count from above.
            ASSERT_GE(expected, CountMatchingCharacters(patternCodes, text));
        }
    }
}

// Long names take another way to their longest block; it must keep the same tie-break.
// Near-equal names (a few letters changed, inserted or dropped) and few distinct letters
// are where the choice between equal blocks decides the count.
TEST(SimilarityRatio, AgreesWithTheLiteralVersionOnLongNames) {
    QRandomGenerator random(13);
    const QString alphabets[] = {"ab", "abcd.", QStringLiteral("0123456789ABCDEF-\u00e9")};
    for (int round = 0; round < 24; ++round) {
        const QString& alphabet = alphabets[round % 3];
        const int length = 120 + static_cast<int>(random.bounded(300));
        QString first = randomName(random, alphabet, length);
        QString second = round % 2 == 0 ? randomName(random, alphabet, length) : first;
        for (int edit = static_cast<int>(random.bounded(4)); edit > 0 && !second.isEmpty();
             --edit) {
            const qsizetype at = random.bounded(second.size());
            if (edit % 2 == 0)
                second.remove(at, 1 + random.bounded(3));
            else
                second.insert(at,
                              alphabet[static_cast<qsizetype>(random.bounded(alphabet.size()))]);
        }
        ASSERT_EQ(SimilarityRatio(first, second), reference::SimilarityRatio(first, second))
            << first.toStdString() << " / " << second.toStdString();
    }
}

// A block of names at once against one text, at the lengths where the lanes' words fill up
// and where a second word takes the carry of the first.
// Codes that share the class left over may only raise a length, never lower it.
TEST(LongestCommonSubsequence, BlocksAgreeWithThePlainTable) {
    QRandomGenerator random(17);
    const QString alphabets[] = {QStringLiteral("abc"), QStringLiteral("0123456789ABCDEF-.\u00e9"),
                                 QStringLiteral("abcdefghijklmnopqrstuvwxyz0123456789._-\u6587")};
    const std::u16string ownClasses = similarityCodes(alphabets[0] + alphabets[1]);
    LongestCommonSubsequenceBlocks blocks;
    blocks.chooseClasses({ownClasses});
    LongestCommonSubsequenceBlocks::Text text;
    const int lengths[] = {1, 7, 32, 33, 40, 63, 64, 65, 96, 97, 127, 128};
    using Form = LongestCommonSubsequenceBlocks::Form;
    for (const Form form : {Form::Plain, Form::Avx2, Form::Avx512, Form::Avx512WithBitCount}) {
        if (!blocks.useForm(form))
            continue;
        for (const int textLength : lengths) {
            for (const int nameLength : lengths) {
                for (const QString& alphabet : alphabets) {
                    const bool exact = &alphabet != &alphabets[2];
                    auto randomCodes = [&](int length) {
                        return similarityCodes(randomName(random, alphabet, length)
                                                   .leftJustified(length, alphabet[0]));
                    };
                    const std::u16string textCodes = randomCodes(textLength);
                    blocks.setText(text, textCodes);
                    std::vector<std::u16string> names(
                        1 + random.bounded(LongestCommonSubsequenceBlocks::lanes));
                    for (std::u16string& name : names)
                        name = randomCodes(nameLength);
                    const int block = blocks.addBlock({names.begin(), names.end()});
                    // Several texts at once give what each gives alone at every needed
                    // length, also where they begin alike (as neighbours in a sorted folder
                    // do) for any length.
                    constexpr int atOnce = LongestCommonSubsequenceBlocks::textsAtOnce;
                    LongestCommonSubsequenceBlocks::Text others[atOnce];
                    const LongestCommonSubsequenceBlocks::Text* texts[atOnce] = {&text};
                    const auto sharedBeginning =
                        static_cast<size_t>(random.bounded(textLength + 1));
                    for (int other = 1; other < atOnce; ++other) {
                        blocks.setText(others[other],
                                       textCodes.substr(0, sharedBeginning) +
                                           randomCodes(textLength).substr(sharedBeginning));
                        texts[other] = &others[other];
                    }
                    const int count = 1 + static_cast<int>(random.bounded(atOnce));
                    unsigned together[atOnce];
                    for (int needed = 1; needed <= textLength; ++needed) {
                        blocks.lanesReaching(block, texts, count, needed, together);
                        for (int at = 0; at < count; ++at)
                            ASSERT_EQ(together[at],
                                      blocks.lanesReaching(block, *texts[at], needed));
                    }
                    for (size_t lane = 0; lane < names.size(); ++lane) {
                        const int expected = plainLongestCommonSubsequence(textCodes, names[lane]);
                        const unsigned reaching = blocks.lanesReaching(block, text, expected);
                        const unsigned beyond = blocks.lanesReaching(block, text, expected + 1);
                        ASSERT_EQ((reaching >> lane) & 1, 1u)
                            << static_cast<int>(form) << " " << textLength << " " << nameLength;
                        if (exact) {
                            ASSERT_EQ((beyond >> lane) & 1, 0u)
                                << static_cast<int>(form) << " " << textLength << " " << nameLength;
                        }
                    }
                }
            }
        }
    }
}

// Masks made in one form's layout are not read in another's: a block that ran before the
// form changed gives the same lanes after it as a fresh one.
TEST(LongestCommonSubsequence, BlocksThatRanKeepTheirLengthsWhenTheFormChanges) {
    using Form = LongestCommonSubsequenceBlocks::Form;
    LongestCommonSubsequenceBlocks blocks;
    if (!blocks.useForm(Form::Avx512WithBitCount))
        GTEST_SKIP() << "the processor has no packed form";
    QRandomGenerator random(5);
    const QString alphabet = QStringLiteral("abcdef");
    blocks.chooseClasses({similarityCodes(alphabet)});
    for (const int length : {20, 80}) {
        std::vector<std::u16string> names(LongestCommonSubsequenceBlocks::lanes);
        for (std::u16string& name : names)
            name = similarityCodes(randomName(random, alphabet, length).leftJustified(length, 'a'));
        const int block = blocks.addBlock({names.begin(), names.end()});
        LongestCommonSubsequenceBlocks::Text text;
        blocks.setText(text, names[0]);
        std::vector<unsigned> packed;
        for (int needed = 1; needed <= length; ++needed)
            packed.push_back(blocks.lanesReaching(block, text, needed));
        ASSERT_TRUE(blocks.useForm(Form::Plain));
        for (int needed = 1; needed <= length; ++needed)
            EXPECT_EQ(blocks.lanesReaching(block, text, needed),
                      packed[static_cast<size_t>(needed - 1)])
                << length << " " << needed;
        ASSERT_TRUE(blocks.useForm(Form::Avx512WithBitCount));
    }
}

} // namespace
} // namespace velmora
