#include "metatree/metaObject.h"
#include "translator/capsBuildDate.h"
#include "translator/translatorEntryPoints.h"
#include "support/trees/treeText.h"

#include <gtest/gtest.h>

#include <memory>
#include <regex>
#include <string>

namespace {

const metaTreeC* child(const metaTreeC* node, const char* key) {
    const metaTreeC* found = metaObjectC(const_cast<metaTreeC*>(node)).findChild(key);
    EXPECT_NE(found, nullptr) << key;
    return found;
}

std::string expectedCaps() {
    return std::string("DLLIFACE(INFO(NAME('U3D Translator'),VERSION('V1.0'),DESC('U3D Translator DLL'),DATE('") +
           capsBuildDate() + ":" + capsBuildTime() +
           "')),IOPAIRS(IOPAIR(INFMT(FILEEXT('u3d'),NAME('U3DMETA'),INMODE(2)),"
           "OUTFMTS(OUTFMT(GROUP('MESH'),NAME('PDF'),DESC('PDF (U3D)'),OUTMODE(0),FILEEXT('pdf'),"
           "TOOLBARBMP('pdf.bmp'),VERSIONSDESC('Adobe Acrobat Reader 7.0.8'),VERSIONS('7'))))))";
}

TEST(GetCapsTest, DescribesTheTranslatorInOneNewTreePerCall) {
    std::unique_ptr<metaTreeC> first(translator::getCaps());
    std::unique_ptr<metaTreeC> second(translator::getCaps());
    ASSERT_NE(first, nullptr);
    ASSERT_NE(first.get(), second.get());
    EXPECT_EQ(first->parent, nullptr);
    EXPECT_EQ(first->next, nullptr);
    EXPECT_EQ(treeText(first.get()), expectedCaps());
    EXPECT_EQ(treeText(second.get()), expectedCaps());

    // Kinds that the picture alone does not tell apart.
    const metaTreeC* pair = child(child(first.get(), "IOPAIRS"), "IOPAIR");
    const metaTreeC* outFmt = child(child(pair, "OUTFMTS"), "OUTFMT");
    EXPECT_EQ(child(outFmt, "VERSIONS")->firstChild->value.kind(), MV_STRING);
    EXPECT_EQ(child(outFmt, "OUTMODE")->firstChild->value.kind(), MV_DOUBLE);
    int found = 0;
    EXPECT_EQ(metaObjectC(const_cast<metaTreeC*>(child(child(pair, "INFMT"), "INMODE"))).getDouble(&found), 2.0);
    EXPECT_EQ(found, 1);

    // Independent trees: changing one leaves the other alone.
    metaObjectC(first.get()).removeChild("INFO");
    EXPECT_EQ(treeText(second.get()), expectedCaps());
}

TEST(GetCapsTest, BuildDateHasTheCompilerForm) {
    // "Jan 16 2009" and "17:56:10": a blank before a one-digit day.
    EXPECT_TRUE(std::regex_match(capsBuildDate(), std::regex("[A-Z][a-z]{2} [ 123][0-9] [0-9]{4}")))
        << capsBuildDate();
    EXPECT_TRUE(std::regex_match(capsBuildTime(), std::regex("[0-2][0-9]:[0-5][0-9]:[0-5][0-9]")))
        << capsBuildTime();
}

}  // namespace
