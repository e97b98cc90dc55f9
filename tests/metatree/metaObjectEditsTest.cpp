#include "metatree/metaObject.h"
#include "metatree/treeStamp.h"
#include "treeTestUtil.h"

#include <gtest/gtest.h>

TEST(MetaObjectEditsTest, SetChildReplacesTheEntrysChildren) {
    metaObjectC root(keyList("R", "A,B,A"), true);
    metaObjectC(root.childAt(0)).setString("old");
    metaTreeC* value = keyList("V", "W");

    const int32_t before = treeStamp;
    metaTreeC* a = root.setChild("A", value, true);
    EXPECT_NE(treeStamp, before);
    EXPECT_EQ(a, root.childAt(0));
    root.setChildNr(1, "A", value->firstChild, true);
    root.setChild("NEW", nullptr, false);
    EXPECT_EQ(root.setChildAt(9, value, true), nullptr);
    root.setChildAt(1, value, false);  // moves the nodes themselves
    EXPECT_EQ(chainText(root.node()), "R(A(V(W)),B(V(W)),A(W),NEW)");
    metaTreeC* third = root.setChildNr(2, "A", nullptr, false);  // missing: created last
    EXPECT_EQ(third, root.childAt(4));

    // A subtree that is one of the entry's own children survives the reset.
    metaTreeC* b = root.childAt(1);
    root.setChild("B", b->firstChild->firstChild, false);
    EXPECT_EQ(treeText(b), "B(W)");
    EXPECT_TRUE(linksConsistent(root.node()));
}

TEST(MetaObjectEditsTest, MovedNodesLeaveTheirListAndNeverGoBelowThemselves) {
    metaObjectC root(keyList("R", "A,B"), true);
    metaObjectC other(keyList("O", "P,Q,S"), true);
    metaTreeC* q = other.childAt(1);
    // A chain moves from Q on; the list it came from keeps P.
    EXPECT_EQ(root.appendChild(q, false), q);
    EXPECT_EQ(chainText(other.node()), "O(P)");
    EXPECT_EQ(chainText(root.node()), "R(A,B,Q,S)");

    metaTreeC* a = root.childAt(0);
    EXPECT_EQ(metaObjectC(a).appendChild(root.node(), false), nullptr);   // an ancestor
    EXPECT_EQ(metaObjectC(a).appendChild(a, false), nullptr);             // itself
    EXPECT_EQ(root.setChild("B", root.childAt(0), false), nullptr);       // chain holds B
    EXPECT_EQ(root.insertChild(root.childAt(3), nullptr, a, false), nullptr);
    EXPECT_EQ(chainText(root.node()), "R(A,B,Q,S)");

    // Copies are always possible, even of an ancestor.
    metaObjectC(a).appendChild(root.node(), true);
    EXPECT_EQ(chainText(root.node()), "R(A(R(A,B,Q,S)),B,Q,S)");
    EXPECT_TRUE(linksConsistent(root.node()));
    EXPECT_TRUE(linksConsistent(other.node()));
}

TEST(MetaObjectEditsTest, AddInsertMoveRemove) {
    metaObjectC root(keyList("R", "A,B,C"), true);
    metaTreeC* x = root.addChild("X", keyList("V", ""), false);
    EXPECT_EQ(chainText(x), "X(V)");
    metaTreeC* a = root.childAt(0);
    metaTreeC* c = root.childAt(2);
    root.insertChild(a, c, createKeyNode("before"), false);
    root.insertChild(nullptr, c, createKeyNode("after"), false);
    root.insertChild(nullptr, nullptr, createKeyNode("end"), false);
    metaObjectC foreign(keyList("F", "G"), true);
    metaTreeC* loose = createKeyNode("loose");
    EXPECT_EQ(root.insertChild(foreign.childAt(0), nullptr, loose, false), nullptr);
    delete loose;
    EXPECT_EQ(chainText(root.node()), "R(before,A,B,C,after,X(V),end)");

    metaTreeC* moved = root.moveChild(0, 3);  // before C
    EXPECT_EQ(moved, root.childAt(2));
    moved = root.moveChild(1, -1);
    EXPECT_EQ(moved, root.childAt(6));
    EXPECT_EQ(root.moveChild(9, 0), nullptr);
    EXPECT_EQ(root.moveChild(0, 9), nullptr);
    EXPECT_EQ(chainText(root.node()), "R(A,before,C,after,X(V),end,B)");

    EXPECT_TRUE(root.removeChild("X"));
    EXPECT_TRUE(root.removeChildAt(0));
    EXPECT_FALSE(root.removeChildNr(1, "after"));
    EXPECT_TRUE(root.removeChildNr(0, "after"));
    EXPECT_FALSE(root.removeChild("missing"));
    EXPECT_EQ(chainText(root.node()), "R(before,C,end,B)");
    const int32_t before = treeStamp;
    root.clearChildren();
    EXPECT_NE(treeStamp, before);
    EXPECT_EQ(root.childCount(), 0);
}

TEST(MetaObjectEditsTest, ReplaceWithAndCopy) {
    metaObjectC root(keyList("R", "A,B"), true);
    metaTreeC* a = root.childAt(0);
    metaObjectC(a).setString("text");
    a->firstChild->addKey("under");

    // The source may lie below the node it replaces.
    metaObjectC target(root.childAt(1));
    EXPECT_TRUE(target.replaceWith(a));
    EXPECT_TRUE(metaObjectC(a).replaceWith(a->firstChild));
    EXPECT_EQ(chainText(root.node()), "R('text'(under),A('text'(under)))");
    EXPECT_FALSE(target.replaceWith(nullptr));

    metaTreeC* first = metaObjectC(root.childAt(0)).copy(false, true);
    metaTreeC* chain = metaObjectC(root.childAt(0)).copy(true, false);
    EXPECT_EQ(chainText(first), "'text'(under)");
    EXPECT_EQ(chainText(chain), "'text'(under),A('text'(under))");
    EXPECT_EQ(metaObjectC().copy(true, true), nullptr);
    delete first;
    delete chain;
}
