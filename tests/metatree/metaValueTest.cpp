#include "metatree/metaValue.h"

#include <gtest/gtest.h>

TEST(MetaValueTest, ConstructorsAcceptOnlyTheirKinds) {
    const metaSrcPosS at7 = metaSrcPosS::textLine(7);
    metaValueC key(MV_KEY, at7, "NAME");
    EXPECT_EQ(key.kind(), MV_KEY);
    EXPECT_STREQ(key.text().text(), "NAME");
    EXPECT_EQ(key.srcPos().line, 7);
    EXPECT_EQ(key.srcPos().aux, 0);

    EXPECT_EQ(metaValueC(MV_DOUBLE, at7, int32_t{-3}).number(), -3.0);
    int target = 0;
    EXPECT_EQ(metaValueC(MV_PTR2, at7, static_cast<void*>(&target)).pointer(), &target);

    // A payload that does not fit the kind leaves the record empty.
    for (const metaValueC& v : {metaValueC(MV_DOUBLE, at7, "x"), metaValueC(MV_STRING, at7, 1.5),
                                metaValueC(MV_PTR, at7, int32_t{4}), metaValueC(9, at7, "x")}) {
        EXPECT_EQ(v.kind(), MV_NONE);
        EXPECT_EQ(v.srcPos().line, -1);
    }
}

TEST(MetaValueTest, AssignCopiesTextAndPosition) {
    metaValueC a(MV_STRING, metaSrcPosS::textLine(3), "first");
    metaValueC b(MV_KEY, metaSrcPosS::none(), "other");
    b.assign(a);
    a.setText(MV_STRING, "changed");
    EXPECT_EQ(b.kind(), MV_STRING);
    EXPECT_STREQ(b.text().text(), "first");
    EXPECT_EQ(b.srcPos().line, 3);

    b.assign(metaValueC(MV_DOUBLE, metaSrcPosS::none(), 2.5));
    EXPECT_EQ(b.number(), 2.5);
    EXPECT_STREQ(b.text().text(), "");  // the owned text is gone
    b.assign(metaValueC());
    EXPECT_EQ(b.kind(), MV_NONE);

    // Overwriting a text with a piece of itself.
    metaValueC self(MV_KEY, metaSrcPosS::none(), "ABCDEF");
    self.setText(MV_KEY, self.text().text() + 2);
    EXPECT_STREQ(self.text().text(), "CDEF");
}

TEST(MetaValueTest, Equality) {
    const metaSrcPosS none = metaSrcPosS::none();
    EXPECT_TRUE(metaValueC(MV_KEY, none, "A").equals(metaValueC(MV_KEY, metaSrcPosS::textLine(2), "A")));
    EXPECT_FALSE(metaValueC(MV_KEY, none, "A").equals(metaValueC(MV_STRING, none, "A")));
    EXPECT_FALSE(metaValueC(MV_KEY, none, "A").equals(metaValueC(MV_KEY, none, "a")));
    EXPECT_TRUE(metaValueC(MV_STRING, none, static_cast<const char*>(nullptr))
                    .equals(metaValueC(MV_STRING, none, "")));
    EXPECT_TRUE(metaValueC(MV_DOUBLE, none, 0.0).equals(metaValueC(MV_DOUBLE, none, -0.0)));
    int x = 0, y = 0;
    EXPECT_TRUE(metaValueC(MV_PTR, none, static_cast<void*>(&x)).equals(metaValueC(MV_PTR, none, static_cast<void*>(&x))));
    EXPECT_FALSE(metaValueC(MV_PTR, none, static_cast<void*>(&x)).equals(metaValueC(MV_PTR, none, static_cast<void*>(&y))));
    EXPECT_FALSE(metaValueC().equals(metaValueC()));
}
