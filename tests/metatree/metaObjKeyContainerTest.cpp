#include "metatree/metaObjKeyContainer.h"
#include "treeTestUtil.h"

#include <gtest/gtest.h>

TEST(KeyContainerTest, ItemsThroughTheCacheFollowTreeChanges) {
    metaObjKeyContainerC list(keyList("LIST", "E,x,E,E"), true);
    EXPECT_EQ(list.itemCount("E"), 3);
    metaTreeC* second = list.itemAt(1, "E");
    EXPECT_EQ(second, list.childAt(2));
    EXPECT_EQ(list.itemAt(3, "E"), nullptr);
    EXPECT_EQ(list.itemAt(-1, "E"), nullptr);
    EXPECT_EQ(list.itemAt(-2, "E"), nullptr);

    // A new first item shifts every position: the cache notices the change.
    list.node()->addKey("E", 0);
    EXPECT_EQ(list.itemAt(1, "E"), list.childAt(1));
    EXPECT_EQ(list.itemAt(2, "E"), second);
    EXPECT_EQ(list.itemCount("E"), 4);

    // Asking for another key, or for plain positions, is not answered from
    // the list of the first key.
    EXPECT_EQ(list.itemAt(0, "x"), list.childAt(2));
    EXPECT_EQ(list.nodeAt(2), list.childAt(2));
    EXPECT_EQ(list.itemAt(2, "E"), second);

    EXPECT_EQ(list.indexOf(second), 3);
    EXPECT_EQ(list.indexOf("E", second), 2);
    EXPECT_EQ(list.indexOf("x", second), -1);
    EXPECT_EQ(metaObjKeyContainerC().itemCount("E"), 0);
}

TEST(KeyContainerTest, AppendsKeepPositionsAndCreateOnlyWhatIsMissing) {
    metaObjKeyContainerC list(keyList("LIST", "x,E"), true);
    EXPECT_EQ(list.itemAt(0, "E"), list.childAt(1));
    list.ensureItems("E", 3);
    list.ensureItems("E", 2);
    EXPECT_EQ(list.itemCount("E"), 3);
    metaTreeC* fifth = list.itemAtCreate("E", 4);
    EXPECT_EQ(fifth, list.childAt(5));
    EXPECT_EQ(list.itemAtCreate("E", 4), fifth);
    metaTreeC* added = list.addItem("E");
    EXPECT_EQ(list.itemAt(5, "E"), added);
    EXPECT_EQ(chainText(list.node()), "LIST(x,E,E,E,E,E,E)");

    // Appending still finds the real end after the last child was deleted
    // or moved away.
    list.removeChildAt(6);
    list.addItem("F");
    metaTreeC* last = list.childAt(6);
    last->unlink();
    delete last;
    list.addItem("G");
    EXPECT_EQ(chainText(list.node()), "LIST(x,E,E,E,E,E,G)");
    EXPECT_TRUE(linksConsistent(list.node()));

    EXPECT_EQ(list.removeItems("E"), 5);
    EXPECT_EQ(list.removeItems("E"), 0);
    EXPECT_EQ(chainText(list.node()), "LIST(x,G)");
}

TEST(KeyContainerTest, PlainListsOfTexts) {
    metaObjKeyContainerC list(createKeyNode("VERSIONS"), true);
    list.appendString("1.0");
    list.ensureStrings(3, "-");
    list.ensureStrings(2, "unused");
    EXPECT_STREQ(list.textAt(0).text(), "1.0");
    EXPECT_STREQ(list.textAt(2).text(), "-");
    EXPECT_STREQ(list.textAt(3).text(), "");
    EXPECT_TRUE(list.setKeyAt(1, "K"));
    EXPECT_EQ(list.itemAt(0, "K"), list.childAt(1));
    EXPECT_TRUE(list.setStringAt(1, "s"));
    EXPECT_EQ(list.itemAt(0, "K"), nullptr);  // no longer a key
    EXPECT_FALSE(list.setStringAt(3, "none"));
    EXPECT_EQ(chainText(list.node()), "VERSIONS('1.0','s','-')");
}
