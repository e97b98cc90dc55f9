#include "metatree/metaTree.h"
#include "metatree/treeSearch.h"
#include "metatree/treeStamp.h"
#include "treeTestUtil.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

// A node that counts how many of its kind are alive.
struct countedNodeC : metaTreeC {
    static int alive;
    explicit countedNodeC(const char* key) : metaTreeC(metaValueC(MV_KEY, metaSrcPosS::none(), key)) { ++alive; }
    ~countedNodeC() override { --alive; }
};
int countedNodeC::alive = 0;

// root(A,B,C) made of counted nodes.
metaTreeC* countedTree() {
    metaTreeC* root = new countedNodeC("R");
    for (const char* k : {"A", "B", "C"})
        (new countedNodeC(k))->appendTo(root);
    root->firstChild->addKey("A1");
    return root;
}

}  // namespace

TEST(MetaTreeTest, ChildCreationPlacesNewChildren) {
    metaTreeC* root = keyList("R", "A,B,C");
    root->addKey("first", 0);
    root->addKey("third", 2);
    root->addKey("last", 5);
    root->addKey("end", -1);
    root->addString("s");
    root->addDouble(1.5);
    root->addInteger(-7);
    EXPECT_EQ(chainText(root), "R(first,A,third,B,C,last,end,'s',1.5,-7)");
    EXPECT_TRUE(linksConsistent(root));
    delete root;
}

TEST(MetaTreeTest, LinkingPrimitivesMoveWholeChains) {
    metaTreeC* root = keyList("R", "A,B");
    metaTreeC* x = createKeyNode("X");
    createKeyNode("Y")->insertAfter(x);  // free chain X,Y

    x->insertAfter(root->firstChild);
    EXPECT_EQ(chainText(root), "R(A,X,Y,B)");
    EXPECT_EQ(x->next->parent, root);

    metaTreeC* other = keyList("O", "P,Q");
    metaTreeC* q = other->firstChild->next;
    q->unlink();  // the last child
    q->insertBefore(root->firstChild);
    metaTreeC* p = other->firstChild;
    p->unlink();  // the only child
    p->appendTo(root);
    EXPECT_EQ(chainText(root), "R(Q,A,X,Y,B,P)");
    EXPECT_EQ(root->firstChild, q);
    EXPECT_EQ(other->firstChild, nullptr);

    metaTreeC* y = x->next;
    y->unlink();  // a middle child
    y->prependTo(other);
    EXPECT_EQ(chainText(root), "R(Q,A,X,B,P)");
    EXPECT_EQ(chainText(other), "O(Y)");
    EXPECT_TRUE(linksConsistent(root));
    EXPECT_TRUE(linksConsistent(other));
    delete root;
    delete other;
}

TEST(MetaTreeTest, DeletionTakesFollowingSiblingsUnlessUnlinked) {
    metaTreeC* root = countedTree();
    ASSERT_EQ(countedNodeC::alive, 4);

    // Unlink, then delete: the neighbours close the gap.
    metaTreeC* b = root->firstChild->next;
    b->unlink();
    delete b;
    EXPECT_EQ(chainText(root), "R(A(A1),C)");
    EXPECT_EQ(root->firstChild->next->prev, root->firstChild);
    EXPECT_EQ(countedNodeC::alive, 3);

    // A middle node deleted in place takes the rest of the list and leaves
    // no dangling link in its predecessor.
    root->addKey("D");
    delete root->firstChild->next;
    EXPECT_EQ(chainText(root), "R(A(A1))");
    EXPECT_EQ(countedNodeC::alive, 2);

    // The first child deleted in place takes the whole list.
    delete root->firstChild;
    EXPECT_EQ(root->firstChild, nullptr);
    EXPECT_EQ(countedNodeC::alive, 1);
    delete root;
    EXPECT_EQ(countedNodeC::alive, 0);

    // detach drops the children and leaves the node free.
    root = countedTree();
    metaTreeC* a = root->firstChild;
    a->detach();
    EXPECT_EQ(chainText(root), "R(B,C)");
    EXPECT_EQ(chainText(a), "A");
    EXPECT_EQ(a->parent, nullptr);
    delete a;
    delete root;
    EXPECT_EQ(countedNodeC::alive, 0);
}

TEST(MetaTreeTest, CopyTreeLeavesSiblingsCopyChainTakesThem) {
    metaTreeC* root = keyList("R", "A,B,C");
    metaTreeC* a = root->firstChild;
    a->addString("v")->addKey("deep");
    a->next->addDouble(2);
    a->copyTag = 77;

    metaTreeC* tree = a->copyTree();
    EXPECT_EQ(chainText(tree), "A('v'(deep))");
    EXPECT_EQ(tree->copyTag, 77u);
    EXPECT_EQ(tree->parent, nullptr);
    EXPECT_EQ(tree->next, nullptr);

    metaTreeC* chain = a->copyChain();
    EXPECT_EQ(chainText(chain), "A('v'(deep)),B(2),C");
    EXPECT_EQ(chain->next->parent, nullptr);
    EXPECT_TRUE(linksConsistent(chain));
    EXPECT_EQ(chainText(root), "R(A('v'(deep)),B(2),C)");
    delete tree;
    delete chain;
    delete root;
}

TEST(MetaTreeTest, AssignmentDetachesThenTakesTheValue) {
    metaTreeC* root = keyList("R", "A,B");
    metaTreeC* a = root->firstChild;
    a->addKey("child");
    metaTreeC* source = a->firstChild;  // assigning from one's own child
    source->copyTag = 5;
    *a = *source;
    EXPECT_EQ(chainText(root), "R(B)");
    EXPECT_EQ(chainText(a), "child");
    EXPECT_EQ(a->copyTag, 5u);
    EXPECT_EQ(a->parent, nullptr);
    delete a;
    delete root;
}

TEST(MetaTreeTest, DeepAndLongTreesDoNotRecurse) {
    // Far deeper than any call stack would allow recursion for.
    const int depth = 300000;
    metaTreeC* root = createKeyNode("R");
    metaTreeC* n = root;
    for (int i = 0; i < depth; ++i)
        n = n->addKey("K");
    n->addKey("BOTTOM");
    EXPECT_NE(findKey(root, "BOTTOM", -1), nullptr);

    metaTreeC* copy = root->copyTree();
    metaTreeC* bottom = findKey(copy, "BOTTOM", -1);
    ASSERT_NE(bottom, nullptr);
    EXPECT_TRUE(contains(copy, bottom, true));
    EXPECT_FALSE(contains(root, bottom, true));
    delete copy;
    delete root;
}

TEST(MetaTreeTest, TreeStampMovesOnChangesNotOnRawLinking) {
    metaTreeC* root = keyList("R", "A,B");
    auto moves = [](auto&& change) {
        const int32_t before = treeStamp;
        change();
        return treeStamp != before;
    };
    metaTreeC* x = createKeyNode("X");
    EXPECT_FALSE(moves([&] { x->insertAfter(root->firstChild); }));
    EXPECT_FALSE(moves([&] { x->unlink(); }));
    EXPECT_FALSE(moves([&] { x->appendTo(root); }));
    EXPECT_FALSE(moves([&] { x->unlink(); }));
    EXPECT_TRUE(moves([&] { x->linkAfter(root->firstChild); }));
    EXPECT_TRUE(moves([&] { root->addKey("C"); }));
    EXPECT_TRUE(moves([&] { root->addString("s"); }));
    metaTreeC* copy = nullptr;
    EXPECT_TRUE(moves([&] { copy = root->copyTree(); }));
    EXPECT_TRUE(moves([&] { delete copy; }));
    EXPECT_TRUE(moves([&] { root->deleteChildren(); }));
    delete root;
}

TEST(MetaTreeTest, LastChildFollowsEveryChangeOfTheList) {
    metaTreeC* root = keyList("R", "A,B,C");
    metaTreeC* c = root->firstChild->next->next;
    c->unlink();  // the last child: B is last now
    root->addKey("D");
    EXPECT_EQ(chainText(root), "R(A,B,D)");
    EXPECT_TRUE(linksConsistent(root));

    // A chain cut out from the middle leaves its predecessor last.
    metaTreeC* cut = root->firstChild->next;
    cut->unlinkChain();
    EXPECT_EQ(root->lastChild(), root->firstChild);
    EXPECT_EQ(chainText(cut), "B,D");
    delete cut;
    c->insertBefore(root->firstChild);  // before the first child: last unchanged
    root->addKey("E");
    EXPECT_EQ(chainText(root), "R(C,A,E)");
    EXPECT_TRUE(linksConsistent(root));

    // Deleted in place: the node before becomes last, or the list is empty.
    delete root->firstChild->next->next;
    root->addKey("F");
    EXPECT_EQ(chainText(root), "R(C,A,F)");
    delete root->firstChild;
    EXPECT_EQ(root->lastChild(), nullptr);
    root->addKey("G");
    EXPECT_EQ(chainText(root), "R(G)");
    root->deleteChildren();
    EXPECT_EQ(root->lastChild(), nullptr);

    // A chain prepended to an empty parent, and the last child detached.
    metaTreeC* x = createKeyNode("X");
    createKeyNode("Y")->insertAfter(x);
    x->prependTo(root);
    EXPECT_EQ(root->lastChild(), x->next);
    metaTreeC* y = x->next;
    y->detach();
    delete y;
    root->addString("s");
    EXPECT_EQ(chainText(root), "R(X,'s')");
    EXPECT_TRUE(linksConsistent(root));

    // Copies and assignment leave every list with its own last child.
    root->firstChild->addKey("deep")->addKey("deeper");
    metaTreeC* copy = root->copyChain();
    EXPECT_TRUE(linksConsistent(copy));
    *x = *root->lastChild();  // X loses its children and leaves
    EXPECT_EQ(chainText(root), "R('s')");
    EXPECT_EQ(root->lastChild(), root->firstChild);
    EXPECT_TRUE(linksConsistent(x));
    delete x;
    delete copy;
    delete root;
}

// Appending must not walk the children that are already there. 200 000
// appends to one parent, one at a time, take a few seconds at most even in a
// sanitizer build; walking the list each time visits 2 * 10^10 nodes, minutes
// of work.
TEST(MetaTreeTest, AppendingCostsTheSameHoweverManyChildrenThereAre) {
    const int n = 200000;
    const auto start = std::chrono::steady_clock::now();
    metaTreeC* root = createKeyNode("R");
    for (int i = 0; i < n; i += 4) {
        root->addKey("K");
        root->addString("s");
        root->addDouble(0.5);
        root->addInteger(i);
    }
    metaTreeC* chained = createKeyNode("C");
    for (int i = 0; i < n; ++i)
        createKeyNode("K")->appendTo(chained);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 10.0);

    int32_t count = 0;
    int32_t lastNumber = -1;
    for (const metaTreeC* child = root->firstChild; child; child = child->next, ++count)
        if (child->value.kind() == MV_DOUBLE && child->value.number() != 0.5)
            lastNumber = static_cast<int32_t>(child->value.number());
    EXPECT_EQ(count, n);
    EXPECT_EQ(lastNumber, n - 4);
    EXPECT_EQ(root->lastChild()->value.number(), n - 4);
    EXPECT_TRUE(linksConsistent(root));
    EXPECT_TRUE(linksConsistent(chained));
    delete chained;
    delete root;
}
