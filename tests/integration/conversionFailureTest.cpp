// Conversions that cannot succeed: the result is 0, nothing appears at the
// output path, the host's temporary model stays where it was, and the
// request carries the reason in its ErrorMessage custom entry.
#include "support/openErrors.h"
#include "support/trees/treeText.h"
#include "metatree/metaTree.h"
#include "moduleHost.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

const boxS kUnitBox = {{0, 0, 0}, {1, 1, 1}};

// The one entry a failure adds to a request without custom entries.
std::string reasonEntry(const std::string& reason) {
    return "CUSTOMDATA(ENTRIES(ENTRY(KEY('ErrorMessage'),TEXT('" + reason + "'))))";
}

// Converts the request, which must fail, and returns its CUSTOMDATA.
std::string failedConversion(loadedModuleS& module, metaTreeC* request) {
    EXPECT_EQ(module.convertMetaTree(request, 0), 0);
    return customData(request);
}

TEST(ConversionFailureTest, FailedConversionsLeaveNoPdfKeepTheModelAndSayWhy) {
    loadedModuleS module;
    scratchDirS dir("failure");
    const fs::path u3d = dir / "model.tmp.u3d";
    fs::copy_file(testData("box.u3d"), u3d);

    // A diagonal beyond 32767 / 1.8: the camera distance cannot be written.
    auto tooLarge = conversionRequest(dir / "large.pdf", u3d, {{0, 0, 0}, {20000, 0, 0}});
    EXPECT_EQ(failedConversion(module, tooLarge.get()),
              reasonEntry("the bounding box is too large: its diagonal 20000 exceeds 18203.89 (the default "
                          "view's camera stands 1.8 diagonals away, and a PDF number cannot exceed 32767); "
                          "export the model in a larger unit"));
    EXPECT_EQ(directoryListing(dir.path), "model.tmp.u3d");
    auto huge = conversionRequest(dir / "large.pdf", u3d, {{0, 0, 0}, {1e300, 0, 0}});
    EXPECT_NE(failedConversion(module, huge.get()).find("its diagonal 1e+300 exceeds 18203.89"), std::string::npos);

    // An output directory that does not exist.
    const fs::path missing = dir / "missing";
    auto noDirectory = conversionRequest(missing / "out.pdf", u3d, kUnitBox);
    EXPECT_EQ(failedConversion(module, noDirectory.get()),
              reasonEntry("cannot write " + (missing / "out.pdf").string() + ": the directory " + missing.string() +
                          " does not exist"));
    EXPECT_EQ(directoryListing(dir.path), "model.tmp.u3d");

    // A directory where the PDF should go: the writer's failure, in the
    // system's words.
    fs::create_directory(dir / "sub");
    auto onDirectory = conversionRequest(dir / "sub", u3d, kUnitBox);
    EXPECT_EQ(failedConversion(module, onDirectory.get()),
              reasonEntry("cannot write " + (dir / "sub").string() + ": " + std::strerror(kDirectoryOpenError)));
    fs::remove(dir / "sub");

    // A model that cannot be opened: a PDF without its model is no result.
    auto noModel = conversionRequest(dir / "out.pdf", dir / "absent.u3d", kUnitBox);
    EXPECT_EQ(failedConversion(module, noModel.get()),
              reasonEntry("cannot read the U3D file " + (dir / "absent.u3d").string() + ": " + std::strerror(ENOENT)));
    EXPECT_EQ(directoryListing(dir.path), "model.tmp.u3d");

    // No output named: the request's fault, not the disk's.
    auto noOutput = conversionRequest("", u3d, kUnitBox);
    EXPECT_EQ(failedConversion(module, noOutput.get()),
              reasonEntry("the request names no output file: OUTPUTLOCATION is missing or empty"));

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
              "REQUEST(OUTPUTLOCATION('" + (dir / "out.pdf").string() + "'),NAME,VERSION," +
                  reasonEntry("the request names no U3D file: INPUTDATA has no record with a FILENAME text") + ")");
}

TEST(ConversionFailureTest, CustomEntryValuesTheModuleDoesNotTakeFailTheConversion) {
    loadedModuleS module;
    scratchDirS dir("badentry");
    const fs::path u3d = dir / "model.tmp.u3d";
    fs::copy_file(testData("box.u3d"), u3d);

    // The last CenterView counts, whatever its key's case; its value is
    // quoted in one line, cut when long. The new entry goes after the
    // host's own.
    const std::string refusedEntries = "ENTRY(KEY('CenterView'),TEXT('On')),ENTRY(KEY('CENTERVIEW'),TEXT('on\nplease'))";
    const std::string tooFar =
        "the bounding box lies too far from the origin for CenterView (the camera would stand beyond 32767, and a PDF "
        "number cannot exceed that); leave CenterView off";
    const struct {
        std::vector<std::pair<const char*, std::string>> entries;
        boxS box;
        std::string customData;
    } cases[] = {
        {{{"CenterView", "On"}, {"CENTERVIEW", "on\nplease"}}, kUnitBox,
         "CUSTOMDATA(ENTRIES(" + refusedEntries +
             ",ENTRY(KEY('ErrorMessage'),TEXT('the custom entry CenterView does not take \"on please\": use On or "
             "Off'))))"},
        {{{"centerview", ""}}, kUnitBox,
         "CUSTOMDATA(ENTRIES(ENTRY(KEY('centerview'),TEXT('')),ENTRY(KEY('ErrorMessage'),TEXT('the custom entry "
         "CenterView does not take \"\": use On or Off'))))"},
        {{{"CenterView", std::string(100, 'x')}}, kUnitBox,
         "CUSTOMDATA(ENTRIES(ENTRY(KEY('CenterView'),TEXT('" + std::string(100, 'x') +
             "')),ENTRY(KEY('ErrorMessage'),TEXT('the custom entry CenterView does not take \"" + std::string(60, 'x') +
             "...\": use On or Off'))))"},
        // Centred on a box far from the origin, the camera position is what
        // cannot be written, though the distance could.
        {{{"CenterView", "yes"}}, {{40000, 0, 0}, {40001, 1, 1}},
         "CUSTOMDATA(ENTRIES(ENTRY(KEY('CenterView'),TEXT('yes')),ENTRY(KEY('ErrorMessage'),TEXT('" + tooFar + "'))))"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.customData);
        auto request = conversionRequest(dir / "out.pdf", u3d, c.box);
        for (const auto& [key, text] : c.entries)
            addCustomEntry(request.get(), key, text.c_str());
        EXPECT_EQ(failedConversion(module, request.get()), c.customData);
        EXPECT_EQ(directoryListing(dir.path), "model.tmp.u3d");
    }
}

TEST(ConversionFailureTest, PresentationValuesTheModuleDoesNotKnowFailTheConversion) {
    loadedModuleS module;
    scratchDirS dir("presentation");
    const fs::path u3d = dir / "model.tmp.u3d";
    fs::copy_file(testData("box.u3d"), u3d);
    const std::string renderModes =
        "one of BoundingBox, TransparentBoundingBox, TransparentBoundingBoxOutline, Vertices, ShadedVertices, "
        "Wireframe, ShadedWireframe, Transparent, SolidWireframe, TransparentWireframe, Illustration, "
        "SolidOutline, ShadedIllustration, HiddenWireframe, Solid";
    const struct {
        const char* key;
        const char* text;
        std::string takes;
    } cases[] = {
        {"Poster", "maybe", "On or Off"},
        {"PosterResolution", "0", "a whole number of pixels per inch from 1 to 750"},
        {"PosterResolution", "751", "a whole number of pixels per inch from 1 to 750"},
        {"PosterResolution", "150dpi", "a whole number of pixels per inch from 1 to 750"},
        {"RenderMode", "Shiny", renderModes},
        {"RenderMode", "Solid Outline", renderModes},
        {"LightingScheme", "Sunset", "one of White, Day, Night, Hard, Primary, Blue, Red, Cube, CAD, Headlamp"},
        {"Background", "1 1", "red, green and blue, three numbers from 0 to 1"},
        {"Background", "255 255 255", "red, green and blue, three numbers from 0 to 1"},
        {"Background", "0 -0 nan", "red, green and blue, three numbers from 0 to 1"},
        {"Views", "front,side", "a list of Front, Back, Left, Right, Top, Bottom, Isometric"},
        {"Views", ",", "a list of Front, Back, Left, Right, Top, Bottom, Isometric"},
        {"Toolbar", "shown", "On or Off"},
        {"ModelTree", "", "On or Off"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.text);
        auto request = conversionRequest(dir / "out.pdf", u3d, kUnitBox);
        addCustomEntry(request.get(), c.key, c.text);
        const std::string reason = failedConversion(module, request.get());
        EXPECT_NE(reason.find("ENTRY(KEY('ErrorMessage'),TEXT('the custom entry " + std::string(c.key) + " does not take \"" +
                              c.text + "\": use " + c.takes + "'))"),
                  std::string::npos)
            << reason;
        EXPECT_EQ(directoryListing(dir.path), "model.tmp.u3d");
    }
}

}  // namespace
