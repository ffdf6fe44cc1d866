#include "EntryIdentity.h"
#include "DuplicateSearch.h"
#include "Mount.h"
#include "QStringPrinting.h"
#include "TemporaryTree.h"

#include <gtest/gtest.h>

#include <memory>

namespace velmora {
namespace {

using testing::Mount;
using testing::TemporaryTree;

std::vector<ResultRow> find(const QStringList& paths, bool optionMode, bool lookUpEntries) {
    SearchOptions options;
    options.Check3 = optionMode ? 1 : 0;
    SearchHooks hooks;
    if (lookUpEntries)
        hooks.firstPathOfSameEntry = [](const std::vector<QStringView>& asking) {
            return firstPathsOfSameEntries(asking);
        };
    return findDuplicates(paths, options, PathStyle::Posix, hooks);
}

// Paths of one entry are no duplicates of each other, however the path reaches it; every
// other row keeps what the text alone gives it.
TEST(EntryIdentity, RowsMatchedOnlyByTheirOwnEntryEndUnticked) {
    TemporaryTree tree;
    const QString root = tree.root();
    tree.file("A1/only.doc");
    tree.link("A1link", "A1");
    tree.file("B/only.doc");
    tree.file("D2/a.txt");
    tree.file("H/photo.jpg");
    for (const char* folder : {"H2", "N", "Bound", "T1", "T2"})
        tree.folder(folder);
    for (const char* hardLink : {"/H/photo.JPG", "/H2/photo.jpg"})
        ASSERT_EQ(link(QFile::encodeName(root + "/H/photo.jpg").constData(),
                       QFile::encodeName(root + hardLink).constData()),
                  0);

    enum Mounts { None, BoundFolder, TwoFileSystems };
    const struct {
        const char* what;
        QStringList paths;
        std::vector<bool> ticks; // empty: as the text alone gives them
        Mounts mounts = None;
    } cases[] = {
        {"a folder and a link to it", {"/A1/only.doc", "/A1link/only.doc"}, {false, false}},
        {"the link's path first, the folder's twice",
         {"/A1link/only.doc", "/A1/only.doc", "/A1/only.doc"},
         {false, false}},
        {"one of them matched another file",
         {"/A1/only.doc", "/A1link/only.doc", "/B/only.doc"},
         {false, false, true}},
        {"//, /./ and ..",
         {"/D2/a.txt", "//D2/a.txt", "/D2/./a.txt", "/B/../D2/a.txt"},
         {false, false, false, false}},
        {"a bare name and ./ before it", {"a.txt", "./a.txt"}, {false, false}},
        {"hard links under alike names", {"/H/photo.jpg", "/H/photo.JPG"}, {false, true}},
        {"hard links under one name in two folders",
         {"/H/photo.jpg", "/H2/photo.jpg"},
         {false, true}},
        {"files that do not exist", {"/N/gone.txt", "//N/gone.txt", "/N/./gone.txt"}, {}},
        {"a path holding a NUL", {QString::fromUtf8("/A1\0x/only.doc", 14), "/A1/only.doc"}, {}},
        {"folders that do not exist", {"/M/gone.txt", "/M//gone.txt", "/A1/gone.txt"}, {}},
        {"a folder bound onto another",
         {"/A1/only.doc", "/Bound/only.doc"},
         {false, false},
         BoundFolder},
        {"one folder inode on two file systems",
         {"/T1/x/same.txt", "/T2/x/same.txt"},
         {false, true},
         TwoFileSystems},
    };
    // Bare names are in the working folder.
    const QString workingFolder = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(root + "/D2"));
    QString cannotMount;
    for (const auto& each : cases) {
        std::vector<std::unique_ptr<Mount>> mounts;
        if (each.mounts == BoundFolder)
            mounts.push_back(
                std::make_unique<Mount>(root + "/A1", root + "/Bound", nullptr, MS_BIND));
        // The same folder inode on both: each file system numbers its own.
        for (const QString top : {"T1", "T2"})
            if (each.mounts == TwoFileSystems) {
                mounts.push_back(std::make_unique<Mount>("none", root + '/' + top, "tmpfs", 0));
                tree.file(top + "/x/same.txt");
            }
        for (const auto& mounted : mounts)
            if (!mounted->failure().isEmpty())
                cannotMount = mounted->failure();
        if (!cannotMount.isEmpty())
            break;
        QStringList paths;
        for (const QString& path : each.paths)
            paths << (path.startsWith('/') ? root + path : path);
        for (const bool optionMode : {false, true}) {
            // Rows and partners as the text alone gives them; only ticks may differ.
            std::vector<ResultRow> expected = find(paths, optionMode, false);
            if (!each.ticks.empty()) {
                ASSERT_EQ(expected.size(), each.ticks.size()) << each.what;
                for (size_t at = 0; at < expected.size(); ++at)
                    expected[at].checked = each.ticks[at];
            }
            EXPECT_EQ(find(paths, optionMode, true), expected)
                << each.what << (optionMode ? ", option mode" : "");
        }
    }
    QDir::setCurrent(workingFolder);
    if (!cannotMount.isEmpty())
        GTEST_SKIP() << "the cases with mounts were not tried: mounting failed ("
                     << cannotMount.toStdString() << ")";
}

} // namespace
} // namespace velmora
