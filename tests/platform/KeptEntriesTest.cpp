#include "Mount.h"
#include "TemporaryTree.h"
#include "Trash.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace velmora {
namespace {

// Each file system numbers its own inodes, so two fresh ones give their first folders one
// number: only the device tells those folders apart.
TEST(KeptEntries, AFolderIsKnownByItsFileSystemAndItsInode) {
    testing::TemporaryTree tree;
    std::vector<std::unique_ptr<testing::Mount>> mounts;
    for (const QString top : {"T1", "T2"}) {
        mounts.push_back(std::make_unique<testing::Mount>("none", tree.folder(top), "tmpfs", 0));
        if (!mounts.back()->failure().isEmpty())
            GTEST_SKIP() << "mounting failed: " << mounts.back()->failure().toStdString();
        tree.file(top + "/x/same.txt");
    }
    struct stat first {
    }, second{};
    ASSERT_EQ(stat(QFile::encodeName(tree.path("T1/x")).constData(), &first), 0);
    ASSERT_EQ(stat(QFile::encodeName(tree.path("T2/x")).constData(), &second), 0);
    ASSERT_EQ(first.st_ino, second.st_ino);

    KeptEntries kept;
    kept.add(tree.path("T1/x/same.txt"));
    const struct {
        const char* asked;
        bool isKept;
    } cases[] = {{"T1//x/./same.txt", true}, {"T2/x/same.txt", false}};
    for (const auto& [asked, isKept] : cases)
        EXPECT_EQ(kept.keeperOf(tree.path(asked)).has_value(), isKept) << asked;
}

} // namespace
} // namespace velmora
