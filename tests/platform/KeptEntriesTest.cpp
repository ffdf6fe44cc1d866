#include "Mount.h"
#include "TemporaryTree.h"
#include "Trash.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

// Each file system numbers its own inodes, so two fresh ones give their first folders one
// number: only the device tells those folders apart.
TEST(KeptEntries, AFolderIsKnownByItsFileSystemAndItsInode) {
    testing::TemporaryTree tree;
    const testing::Mount first("none", tree.folder("T1"), "tmpfs", 0);
    const testing::Mount second("none", tree.folder("T2"), "tmpfs", 0);
    if (!first.failure().isEmpty() || !second.failure().isEmpty())
        GTEST_SKIP() << "mounting failed: " << (first.failure() + second.failure()).toStdString();
    tree.file("T1/x/same.txt");
    tree.file("T2/x/same.txt");

    KeptEntries kept;
    kept.add(tree.path("T1/x/same.txt"));
    EXPECT_TRUE(kept.keeperOf(tree.path("T1//x/./same.txt")));
    EXPECT_FALSE(kept.keeperOf(tree.path("T2/x/same.txt")));
}

} // namespace
} // namespace velmora
