#include "NameKeys.h"
#include "PathSeparators.h"

#include "QStringPrinting.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

struct PathCase {
    QString path;
    PathStyle style;
    QString expected;
};

TEST(NameKeys, FileNameIsTheTextAfterTheLastSeparatorOfTheStyle) {
    const PathCase cases[] = {
        {R"(C:\a\photo.jpg)", PathStyle::Windows, "photo.jpg"},
        {R"(C:\a\)", PathStyle::Windows, ""},
        {"photo.jpg", PathStyle::Windows, "photo.jpg"},
        {"", PathStyle::Windows, ""},
        {R"(\)", PathStyle::Windows, ""},
        // A slash or a colon is part of a Windows name; a backslash is part of a POSIX name.
        {R"(C:\a\b/c.txt)", PathStyle::Windows, "b/c.txt"},
        {"C:photo.jpg", PathStyle::Windows, "C:photo.jpg"},
        {R"(\\server\share\f.txt)", PathStyle::Windows, "f.txt"},
        {"/home/u/photo.jpg", PathStyle::Posix, "photo.jpg"},
        {R"(/home/u/a\b.txt)", PathStyle::Posix, R"(a\b.txt)"},
        {"/home/u/", PathStyle::Posix, ""},
        {"/", PathStyle::Posix, ""},
        {"relative.txt", PathStyle::Posix, "relative.txt"},
        {QStringLiteral("/tmp/写真 2024.jpg"), PathStyle::Posix, QStringLiteral("写真 2024.jpg")},
    };
    for (const PathCase& c : cases)
        EXPECT_EQ(GetFileNameFromPath(c.path, c.style), c.expected) << c.path.toStdString();
}

TEST(NameKeys, ExtensionIsCutAtTheLastDotUnlessItIsTheFirstCharacter) {
    const std::pair<QString, QString> cases[] = {
        {"report.final.txt", "report.final"},
        {"archive.", "archive"},
        {"README", "README"},
        {".profile", ".profile"},
        {"..txt", "."},
        {"", ""},
        {".", "."},
        {"..", "."},
        {".a.b", ".a"},
        {"a.b", "a"},
        {"noext", "noext"},
    };
    for (const auto& [name, expected] : cases)
        EXPECT_EQ(RemoveFileExtension(name), expected) << name.toStdString();
}

SearchOptions optionsWith(int check1, QString text1, int check2, QString text2, int check3) {
    SearchOptions options;
    options.Check1 = check1;
    options.Text1 = std::move(text1);
    options.Check2 = check2;
    options.Text2 = std::move(text2);
    options.Check3 = check3;
    return options;
}

struct MatchCase {
    const char* what;
    QString a;
    QString b;
    SearchOptions options;
    bool expected;
    PathStyle style = PathStyle::Windows;
};

TEST(NameKeys, MatchByOptionsComparesEveryEnabledStageExactly) {
    const MatchCase cases[] = {
        {"an empty before-text compares nothing: equal names elsewhere do not match",
         R"(C:\a\same.txt)", R"(D:\same.txt)", optionsWith(1, "", 0, "b", 0), false},
        {"an empty before-text still matches identical paths", R"(C:\a\same.txt)",
         R"(C:\a\same.txt)", optionsWith(1, "", 0, "b", 0), true},
        {"the key keeps the first character of the occurrence", R"(C:\a\abc-1.txt)",
         R"(D:\abc.txt)", optionsWith(1, "-", 0, "b", 0), false},
        {"keys abc- and abc- match", R"(C:\a\abc-1.txt)", R"(D:\abc-2.doc)",
         optionsWith(1, "-", 0, "b", 0), true},
        {"extension stage: photo and photo", R"(C:\a\photo.jpg)", R"(C:\b\photo.png)",
         optionsWith(0, "a", 0, "b", 1), true},
        {"extension stage compares exactly", R"(C:\a\photo.jpg)", R"(C:\b\Photo.jpg)",
         optionsWith(0, "a", 0, "b", 1), false},
        {"the search ignores case but the keys keep it", R"(C:\Report-1.txt)", R"(D:\report-2.txt)",
         optionsWith(1, "-", 0, "b", 1), false},
        {"a multi-character before-text keeps only its first character", R"(C:\xxABCyy)",
         R"(C:\d\xxAzz)", optionsWith(1, "abc", 0, "b", 0), false},
        {"keys cascade: the after stage works on the extension stage's key", R"(C:\a-b.txt)",
         R"(D:\b.txt)", optionsWith(0, "a", 1, "-", 1), true},
        {"an occurrence that ends the key leaves it empty", R"(C:\one_end.txt)",
         R"(C:\two_end.txt)", optionsWith(0, "a", 1, "_end", 1), true},
        {"the after stage works on the before stage's key", R"(C:\x_y-1.txt)", R"(C:\z_y-2.txt)",
         optionsWith(1, "-", 1, "_", 0), true},
        {"a greyed check box is off", R"(C:\a\photo.jpg)", R"(C:\b\photo.png)",
         optionsWith(0, "a", 0, "b", 2), false},
        {"a text that occurs in one key only leaves the other whole", R"(C:\ab)", R"(D:\a)",
         optionsWith(1, "b", 0, "b", 0), false},
        {"the after-text is found case-insensitively", R"(C:\photoXcat)", R"(C:\d\pxcat)",
         optionsWith(0, "a", 1, "x", 0), true},
        {"paths ending in the separator give empty names that match each other", R"(C:\a\)",
         R"(D:\b\)", optionsWith(0, "a", 0, "b", 1), true},
        {"a POSIX path: the backslash is part of the name", R"(C:\same.txt)", R"(D:\same.txt)",
         optionsWith(0, "a", 0, "b", 1), false, PathStyle::Posix},
    };
    for (const MatchCase& c : cases)
        EXPECT_EQ(MatchByOptions(c.a, c.b, c.options, c.style), c.expected) << c.what;
}

TEST(NameKeys, StageKeysAreComputedPerEntry) {
    const SearchOptions options = optionsWith(1, "abc", 1, "Y", 1);
    EXPECT_EQ(enabledKeyStages(options),
              (std::vector<KeyStage>{KeyStage::Extension, KeyStage::Before, KeyStage::After}));
    EXPECT_TRUE(enabledKeyStages(optionsWith(1, "", 1, "", 0)).empty());
    EXPECT_EQ(applyKeyStage(KeyStage::Before, u"xxABCyy", options), u"xxA");
    EXPECT_EQ(applyKeyStage(KeyStage::After, u"xxAyBy", options), u"By");
    EXPECT_EQ(applyKeyStage(KeyStage::After, u"zzz", options), u"zzz");
}

TEST(PathSeparators, DoubledSeparatorsCollapseInOnePassAndLeadingRunsAreFixed) {
    const PathCase cases[] = {
        {R"(D:\\a.txt)", PathStyle::Windows, R"(D:\a.txt)"},
        {R"(\\\server\share\\f.txt)", PathStyle::Windows, R"(\\server\share\f.txt)"},
        {R"(\\server\share\dir\a.txt)", PathStyle::Windows, R"(\\server\share\dir\a.txt)"},
        {R"(\a.txt)", PathStyle::Windows, R"(\\a.txt)"},
        {R"(D:\a\\\b.txt)", PathStyle::Windows, R"(D:\a\\b.txt)"},
        {R"(D:\a\\\\b.txt)", PathStyle::Windows, R"(D:\a\\b.txt)"},
        {R"(\\\\)", PathStyle::Windows, R"(\\)"},
        {R"(\)", PathStyle::Windows, R"(\\)"},
        {"", PathStyle::Windows, ""},
        {"D:/a//b.txt", PathStyle::Windows, "D:/a//b.txt"},
        {"//home//u///a.txt", PathStyle::Posix, "/home/u//a.txt"},
        {"/home/u/a.txt", PathStyle::Posix, "/home/u/a.txt"},
        {"///", PathStyle::Posix, "/"},
        {"a//", PathStyle::Posix, "a/"},
        {R"(/a\\b)", PathStyle::Posix, R"(/a\\b)"},
    };
    for (const PathCase& c : cases)
        EXPECT_EQ(NormalizePathSeparators(c.path, c.style), c.expected) << c.path.toStdString();
}

} // namespace
} // namespace velmora
