#include "metatree/treeSearch.h"
#include "treeTestUtil.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Accepts nothing and records the key of every node it is shown.
struct visitRecorderC : metaNodeCompareInterfaceC {
    visitRecorderC() : metaNodeCompareInterfaceC("") {}
    int accept(const metaTreeC* node) override {
        seen += node->value.text().text();
        return 0;
    }
    std::string seen;
};

// R(a(b(c),d),e(f),g)
metaTreeC* sampleTree() {
    metaTreeC* root = keyList("R", "a,e,g");
    metaTreeC* a = root->firstChild;
    a->addKey("b")->addKey("c");
    a->addKey("d");
    a->next->addKey("f");
    return root;
}

std::string visits(metaTreeC* chain, int32_t depth) {
    visitRecorderC recorder;
    count(chain, recorder, depth);
    return recorder.seen;
}

}  // namespace

TEST(TreeSearchTest, DepthLimitedPreOrder) {
    metaTreeC* root = sampleTree();
    metaTreeC* first = root->firstChild;
    EXPECT_EQ(visits(first, 0), "aeg");
    EXPECT_EQ(visits(first, 1), "abdefg");
    EXPECT_EQ(visits(first, -1), "abcdefg");
    EXPECT_EQ(visits(root, -1), "Rabcdefg");

    EXPECT_EQ(findKey(first, "c", 0), nullptr);
    EXPECT_EQ(findKey(first, "c", 1), nullptr);
    EXPECT_STREQ(findKey(first, "c", -1)->parent->value.text().text(), "b");
    EXPECT_EQ(findKey(nullptr, "c", -1), nullptr);

    // findNext starts behind the node; findPrevious walks back and searches
    // each earlier sibling's children forwards.
    EXPECT_EQ(findNextKey(first, "a", -1), nullptr);
    EXPECT_EQ(findNextKey(first, "f", -1), first->next->firstChild);
    metaTreeC* g = first->next->next;
    EXPECT_EQ(findPreviousKey(g, "d", -1), first->firstChild->next);
    EXPECT_EQ(findPreviousKey(g, "d", 0), nullptr);
    EXPECT_EQ(findPreviousKey(g, "c", 1), nullptr);
    EXPECT_EQ(findPreviousKey(first, "a", -1), nullptr);
    delete root;
}

TEST(TreeSearchTest, NumberedKeyComparatorSelectsTheNthMatch) {
    metaTreeC* root = keyList("R", "X,x,Y,X,X");
    metaNodeCompareKeyNrC second(1, "X");
    EXPECT_EQ(find(root->firstChild, second, 0), root->firstChild->next->next->next);
    metaNodeCompareKeyNrC first(0, "X");
    EXPECT_EQ(find(root->firstChild, first, 0), root->firstChild);
    metaNodeCompareKeyNrC fourth(3, "X");
    EXPECT_EQ(find(root->firstChild, fourth, 0), nullptr);
    metaNodeCompareKeyNrC negative(-1, "X");
    EXPECT_EQ(find(root->firstChild, negative, 0), nullptr);
    metaNodeCompareKeyC lower("x");
    EXPECT_EQ(count(root->firstChild, lower, 0), 1);
    delete root;
}

TEST(TreeSearchTest, ContainsHonoursFirstOnly) {
    metaTreeC* root = sampleTree();
    metaTreeC* a = root->firstChild;
    metaTreeC* f = findKey(root, "f", -1);
    EXPECT_TRUE(contains(root, f, true));
    EXPECT_TRUE(contains(a, f, false));  // f is below a's sibling e
    EXPECT_FALSE(contains(a, f, true));
    EXPECT_FALSE(contains(a->next, a, false));  // a comes before the chain
    EXPECT_FALSE(contains(a->firstChild, f, false));
    metaTreeC* other = keyList("O", "a");
    EXPECT_FALSE(contains(root, other->firstChild, false));
    EXPECT_FALSE(contains(nullptr, f, false));
    delete other;
    delete root;
}

TEST(TreeSearchTest, ContainedInPairsDistinctPatternNodes) {
    metaTreeC* pattern = sampleTree();
    metaTreeC* part = keyList("R", "e,a");
    part->firstChild->next->addKey("d");
    EXPECT_TRUE(containedIn(part, pattern, false));

    metaTreeC* twice = keyList("R", "a,a");
    EXPECT_FALSE(containedIn(twice, pattern, false));  // only one 'a' to pair with
    EXPECT_TRUE(containedIn(twice->firstChild, pattern->firstChild, true));

    metaTreeC* deeper = keyList("R", "g");
    deeper->firstChild->addKey("h");  // pattern's g has no children
    EXPECT_FALSE(containedIn(deeper, pattern, false));
    EXPECT_FALSE(containedIn(nullptr, pattern, false));
    delete deeper;
    delete twice;
    delete part;
    delete pattern;
}
