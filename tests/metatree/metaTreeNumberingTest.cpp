#include "metatree/metaTreeNumbering.h"
#include "metatree/treeWalk.h"
#include "treeTestUtil.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

// A root with n - 1 further nodes hung below randomly chosen earlier nodes.
metaTreeC* randomTree(int n, std::vector<metaTreeC*>& made) {
    std::mt19937 random(7);
    metaTreeC* root = createKeyNode("ROOT");
    made = {root};
    for (int i = 1; i < n; ++i) {
        metaTreeC* parent = made[random() % made.size()];
        made.push_back(i % 3 ? parent->addKey("K") : parent->addInteger(i));
    }
    return root;
}

}  // namespace

TEST(MetaTreeNumberingTest, NumbersTenThousandNodesInPreOrder) {
    std::vector<metaTreeC*> made;
    metaTreeC* root = randomTree(10000, made);
    metaTreeC* sibling = keyList("NEXT", "A,B");  // a following top-level tree
    sibling->insertAfter(root);

    metaTreeNumberingC numbering;
    numbering.reset(root);
    ASSERT_EQ(numbering.count(), 10003u);

    preOrderWalkT<metaTreeC> walk(root, -1, false);
    int32_t expected = 1;
    for (; metaTreeC* n = walk.node(); walk.advance(), ++expected) {
        ASSERT_EQ(numbering.nodeAt(expected), n);
        ASSERT_EQ(numbering.numberOf(n), expected);
    }
    EXPECT_EQ(numbering.numberOf(root), 1);
    EXPECT_EQ(numbering.nodeAt(2), root->firstChild);
    EXPECT_EQ(numbering.nodeAt(0), nullptr);
    EXPECT_EQ(numbering.nodeAt(-1), nullptr);
    EXPECT_EQ(numbering.nodeAt(10004), nullptr);
    metaTreeC* stranger = createKeyNode("X");
    EXPECT_EQ(numbering.numberOf(stranger), 0);
    EXPECT_EQ(numbering.numberOf(nullptr), 0);
    EXPECT_TRUE(numbering.inRootTree(made.back()));
    EXPECT_FALSE(numbering.inRootTree(sibling));
    EXPECT_FALSE(numbering.inRootTree(sibling->firstChild));

    // Copy tags: found by tag, in any order they were given.
    std::mt19937 random(3);
    std::vector<metaTreeC*> tagged;
    for (int i = 0; i < 500; ++i) {
        metaTreeC* n = made[random() % made.size()];
        if (n->copyTag)
            continue;
        // distinct tags in scrambled order
        n->copyTag = (static_cast<uintptr_t>(i) * 2654435761u % 1000003 + 1) * 8;
        tagged.push_back(n);
    }
    numbering.build(true);  // tags are no structural change: not rebuilt...
    EXPECT_EQ(numbering.nodeWithCopyTag(tagged[0]->copyTag), nullptr);
    stranger->addKey("Y");  // ...until the tree stamp moved
    numbering.build(true);
    for (metaTreeC* n : tagged)
        ASSERT_EQ(numbering.nodeWithCopyTag(n->copyTag), n);
    EXPECT_EQ(numbering.nodeWithCopyTag(0), nullptr);
    EXPECT_EQ(numbering.nodeWithCopyTag(1), nullptr);

    // Not rebuilt for the same root unless forced or reset.
    metaTreeC* added = root->addKey("LATE");
    EXPECT_EQ(numbering.numberOf(added), 0);
    numbering.build(true);
    EXPECT_NE(numbering.numberOf(added), 0);
    metaTreeC* again = root->addKey("LATER");
    numbering.reset(root);
    EXPECT_EQ(numbering.count(), 10005u);
    EXPECT_EQ(numbering.numberOf(again), 10002);  // last in the root's sub-tree

    numbering.clear();
    EXPECT_EQ(numbering.root(), nullptr);
    EXPECT_EQ(numbering.count(), 0u);
    delete stranger;
    delete root;  // and the sibling after it
}
