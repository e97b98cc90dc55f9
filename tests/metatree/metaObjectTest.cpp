#include "metatree/metaObject.h"
#include "metatree/treeStamp.h"
#include "treeTestUtil.h"

#include <gtest/gtest.h>

TEST(MetaObjectHandleTest, OwnershipDecidesWhatReleaseDeletes) {
    metaTreeC* tree = keyList("R", "A");
    {
        metaObjectC viewer(tree);
        EXPECT_TRUE(viewer.valid());
        EXPECT_FALSE(viewer.owns());
        metaTreeC* other = createKeyNode("ignored");
        EXPECT_FALSE(viewer.attach(other, true));  // only an empty handle attaches
        delete other;
    }
    EXPECT_EQ(chainText(tree), "R(A)");  // a viewer leaves the tree alone

    metaObjectC owner(tree, true);
    metaObjectC copy(owner);  // owning source: an independent copy
    ASSERT_NE(copy.node(), tree);
    EXPECT_TRUE(copy.owns());
    owner.release();  // deletes the source tree
    EXPECT_FALSE(owner.valid());
    EXPECT_EQ(chainText(copy.node()), "R(A)");

    metaObjectC alias;
    alias.assign(metaObjectC(copy.node()));  // non-owning source: shared
    EXPECT_EQ(alias.node(), copy.node());
    EXPECT_FALSE(alias.owns());
    alias.assign(alias);
    EXPECT_EQ(alias.node(), copy.node());

    metaObjectC filled(createKeyNode("X"), true);
    filled.assignIfEmpty(copy, 0);  // not empty: unchanged
    EXPECT_TRUE(filled.isKey("X"));
    metaObjectC empty;
    empty.assignIfEmpty(alias, 1);
    EXPECT_EQ(empty.node(), copy.node());
    EXPECT_TRUE(empty.owns());
    empty.detach(false);  // hand ownership back
    EXPECT_FALSE(empty.owns());

    metaObjectC root = createRoot("ROOT", true);
    EXPECT_TRUE(root.isKey("ROOT"));
    EXPECT_EQ(root.parentNode(), nullptr);
}

TEST(MetaObjectHandleTest, DetachAndReassignKeepViewedNodesAlive) {
    metaObjectC owner(keyList("R", "A,B"), true);
    metaObjectC b(owner.childAt(1));
    const int32_t before = treeStamp;
    EXPECT_TRUE(b.detach(true));
    EXPECT_NE(treeStamp, before);
    EXPECT_EQ(chainText(owner.node()), "R(A)");
    EXPECT_EQ(b.parentNode(), nullptr);
    EXPECT_FALSE(metaObjectC().detach(true));

    // Re-pointing an owning handle at a node of its own tree keeps that
    // node (now owned) instead of deleting it with the rest.
    owner.assign(metaObjectC(owner.childAt(0)));
    ASSERT_TRUE(owner.valid());
    EXPECT_TRUE(owner.isKey("A"));
    EXPECT_TRUE(owner.owns());
    owner.assign(metaObjectC(owner.node()));
    EXPECT_TRUE(owner.isKey("A"));
    EXPECT_TRUE(owner.owns());
}

TEST(MetaObjectLookupTest, FindsEntriesByKeyAndNumber) {
    metaObjectC root(keyList("R", "A,B,A,a"), true);
    metaObjectC b(root.childAt(1));
    b.node()->addKey("C")->addKey("D");
    EXPECT_EQ(root.findChild("A"), root.childAt(0));
    EXPECT_EQ(root.findChildNr(1, "A"), root.childAt(2));
    EXPECT_EQ(root.findChildNr(2, "A"), nullptr);
    EXPECT_EQ(root.findChild("D"), nullptr);  // direct children only
    EXPECT_EQ(root.findChild(nullptr), nullptr);
    EXPECT_EQ(root.countKey("A"), 2);
    EXPECT_EQ(root.childCount(), 4);
    EXPECT_EQ(root.childAt(4), nullptr);
    EXPECT_EQ(root.childAt(-1), nullptr);
    EXPECT_EQ(metaObjectC(b.findChild("C")->firstChild).findAncestor("R"), root.node());
    EXPECT_EQ(b.findAncestor("B"), nullptr);  // proper ancestors only
    EXPECT_STREQ(b.keyText().text(), "B");
    EXPECT_FALSE(b.isKey(nullptr));

    const int32_t before = treeStamp;
    metaTreeC* e = root.findOrCreateChild("E");
    EXPECT_NE(treeStamp, before);
    EXPECT_EQ(root.findOrCreateChild("E"), e);
    EXPECT_EQ(root.countKey("E"), 1);
    EXPECT_EQ(root.childAt(4), e);

    metaObjectC none;
    EXPECT_EQ(none.findOrCreateChild("E"), nullptr);
    EXPECT_EQ(none.childCount(), 0);
    EXPECT_STREQ(none.keyText().text(), "");
}

TEST(MetaObjectValuesTest, GettersReportKindAndSettersKeepIt) {
    metaObjectC root(createKeyNode("R"), true);
    metaObjectC num(root.findOrCreateChild("NUM"));
    int found = -1;
    EXPECT_EQ(num.getDouble(&found), 0.0);
    EXPECT_EQ(found, 0);
    num.setDouble(2.9);
    EXPECT_EQ(num.getInteger(&found), 2);
    EXPECT_EQ(found, 1);
    num.setDouble(-2.9);
    EXPECT_EQ(num.getInteger(), -2);
    num.setDouble(1e12);
    EXPECT_EQ(num.getInteger(), INT32_MAX);

    num.setString("x");  // a double stays a double
    EXPECT_EQ(num.getDouble(), 1e12);
    EXPECT_STREQ(num.getString(&found).text(), "");
    EXPECT_EQ(found, 0);
    num.setInteger(-5);
    EXPECT_EQ(num.getDouble(), -5.0);

    metaObjectC text(root.findOrCreateChild("TEXT"));
    text.setString("first");
    text.setString("second");
    text.setDouble(1.0);
    EXPECT_STREQ(text.getString(&found).text(), "second");
    EXPECT_EQ(found, 1);
    EXPECT_EQ(text.getDouble(&found), 0.0);
    EXPECT_EQ(found, 0);

    // setKeyValue turns any value into a key; a missing one is created.
    text.setKeyValue("KEYED");
    EXPECT_STREQ(text.getKeyValue(&found).text(), "KEYED");
    EXPECT_EQ(found, 1);
    metaObjectC k(root.findOrCreateChild("K"));
    k.setKeyValue("NEW");
    EXPECT_EQ(chainText(root.node()), "R(NUM(-5),TEXT(KEYED),K(NEW))");

    // The node's own value.
    metaObjectC own(num.node()->firstChild);
    own.setOwnInteger(7);
    EXPECT_EQ(own.getOwnDouble(&found), 7.0);
    EXPECT_EQ(found, 1);
    metaObjectC(text.node()->firstChild).setOwnDouble(3.0);  // a key: unchanged
    EXPECT_EQ(metaObjectC(text.node()).getOwnInteger(&found), 0);
    EXPECT_EQ(found, 0);
    own.setOwnKey("NOWKEY");
    EXPECT_EQ(chainText(root.node()), "R(NUM(NOWKEY),TEXT(KEYED),K(NEW))");
    EXPECT_EQ(own.node()->value.srcPos().line, -1);
}
