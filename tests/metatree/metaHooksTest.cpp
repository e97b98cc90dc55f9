#include "metatree/copyWithHooks.h"
#include "metatree/metaHooks.h"
#include "metatree/metaObjectRef.h"
#include "metatree/treeStamp.h"
#include "treeTestUtil.h"

#include <gtest/gtest.h>

TEST(HooksTest, TreesWithoutRegisteredKeysTakeThePlainPath) {
    metaObjectC tree(keyList("R", "A,B"), true);
    tree.node()->firstChild->addString("s")->addKey("NOTREF");
    EXPECT_EQ(runSaveHooks(tree.node(), false), nullptr);
    const int32_t before = treeStamp;
    runLoadHooks(tree.node(), true);
    EXPECT_EQ(treeStamp, before);
    metaTreeC* copy = copyWithHooks(tree.node(), true);
    EXPECT_EQ(chainText(copy), "R(A('s'(NOTREF)),B)");
    delete copy;
    EXPECT_EQ(runSaveHooks(nullptr, false), nullptr);
    EXPECT_EQ(copyWithHooks(nullptr, true), nullptr);
    runLoadHooks(nullptr, false);

    // firstOnly looks at the head alone: a reference in a following
    // top-level tree does not count.
    metaTreeC* second = createKeyNode("S");
    metaObjectRefC(second->addKey("MOREF")).setTarget(second);
    second->insertAfter(tree.node());
    EXPECT_EQ(runSaveHooks(tree.node(), true), nullptr);
    metaTreeC* both = runSaveHooks(tree.node(), false);
    ASSERT_NE(both, nullptr);
    EXPECT_EQ(treeText(both), treeText(tree.node()));
    ASSERT_NE(both->next, nullptr);
    // Node numbers run on into the following trees: S is node 6.
    EXPECT_EQ(metaObjectRefC(both->next->firstChild).getNumber(), 6);
    delete both;
}

TEST(HooksTest, ReferencesBelowValuesAndDeepTreesAreConverted) {
    // A value node may carry children in the text form; a reference there
    // is converted like any other.
    metaObjectC tree(createKeyNode("R"), true);
    metaTreeC* reference = tree.node()->addKey("V")->addString("s")->addKey("MOREF");
    metaObjectRefC(reference).setTarget(tree.node());
    metaTreeC* exported = runSaveHooks(tree.node(), true);
    ASSERT_NE(exported, nullptr);
    EXPECT_EQ(metaObjectRefC(exported->firstChild->firstChild->firstChild).getNumber(), 1);
    delete exported;

    // Nesting far deeper than a recursive walk could take.
    metaTreeC* n = tree.node();
    for (int i = 0; i < 200000; ++i)
        n = n->addKey("D");
    metaObjectRefC(n->addKey("MOREF")).setTarget(tree.node());
    exported = runSaveHooks(tree.node(), true);
    ASSERT_NE(exported, nullptr);
    runLoadHooks(exported, true);
    metaTreeC* copy = copyWithHooks(exported, true);
    metaTreeC* deepest = copy;
    while (deepest->lastChild())
        deepest = deepest->lastChild();
    ASSERT_TRUE(deepest->parent->isKey("REFTRGPTR") || deepest->parent->isKey("DATA"));
    metaTreeC* copiedRef = deepest;
    while (!copiedRef->isKey("MOREF"))
        copiedRef = copiedRef->parent;
    EXPECT_EQ(metaObjectRefC(copiedRef).target(true), copy);
    delete copy;
    delete exported;
}
