// Conversions that cannot succeed: the result is 0, nothing appears at the
// output path, and the host's temporary model stays where it was.
#include "support/trees/treeText.h"
#include "metatree/metaTree.h"
#include "moduleHost.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

const boxS kUnitBox = {{0, 0, 0}, {1, 1, 1}};

TEST(ConversionFailureTest, FailedConversionsLeaveNoPdfAndKeepTheModel) {
    loadedModuleS module;
    scratchDirS dir("failure");
    const fs::path u3d = dir / "model.tmp.u3d";
    fs::copy_file(testData("box.u3d"), u3d);

    // A diagonal beyond 32767 / 1.8: the camera distance cannot be written.
    auto tooLarge = conversionRequest(dir / "large.pdf", u3d, {{0, 0, 0}, {20000, 0, 0}});
    EXPECT_EQ(module.convertMetaTree(tooLarge.get(), 0), 0);
    EXPECT_EQ(directoryListing(dir.path), "model.tmp.u3d");

    // An output directory that does not exist.
    auto noDirectory = conversionRequest(dir / "missing" / "out.pdf", u3d, kUnitBox);
    EXPECT_EQ(module.convertMetaTree(noDirectory.get(), 0), 0);
    EXPECT_EQ(directoryListing(dir.path), "model.tmp.u3d");

    // A model that cannot be opened: a PDF without its model is no result.
    auto noModel = conversionRequest(dir / "out.pdf", dir / "absent.u3d", kUnitBox);
    EXPECT_EQ(module.convertMetaTree(noModel.get(), 0), 0);
    EXPECT_EQ(directoryListing(dir.path), "model.tmp.u3d");

    // A file already at the output path survives a failed conversion whole.
    const fs::path existing = dir / "existing.pdf";
    writeFile(existing, "earlier result");
    auto overwrite = conversionRequest(existing, u3d, {{0, 0, 0}, {0, 20000, 0}});
    EXPECT_EQ(module.convertMetaTree(overwrite.get(), 0), 0);
    EXPECT_EQ(readFile(existing), "earlier result");
    EXPECT_EQ(directoryListing(dir.path), "existing.pdf model.tmp.u3d");
}

TEST(ConversionFailureTest, RequestWithoutInputDataFailsAfterReadingItsKeys) {
    loadedModuleS module;
    scratchDirS dir("noinput");
    std::unique_ptr<metaTreeC> request(createKeyNode("REQUEST"));
    addText(request.get(), "OUTPUTLOCATION", (dir / "out.pdf").string().c_str());
    EXPECT_EQ(module.convertMetaTree(request.get(), 0), 0);
    EXPECT_EQ(directoryListing(dir.path), "");
    EXPECT_EQ(treeText(request.get()),
              "REQUEST(OUTPUTLOCATION('" + (dir / "out.pdf").string() + "'),NAME,VERSION,CUSTOMDATA(ENTRIES))");
}

}  // namespace
