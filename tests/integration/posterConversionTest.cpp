// What the module's presentation entries put into the PDF, read back from
// the file through its cross-reference table: the poster as the 3D
// annotation's appearance, and the view settings by their names.
#include "metatree/metaTree.h"
#include "moduleHost.h"
#include "pdfObjects.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

// box.u3d's one mesh, placed by its node: the world box u3dpdf info shows.
const boxS kModelBox = {{-23.74, -83.4, 0}, {17.07, -42.6, 40.74}};

using entriesT = std::vector<std::pair<std::string, std::string>>;

// Converts box.u3d with these custom entries (and CenterView On, so that
// the model fills the view) and returns the written file.
std::string convertWith(loadedModuleS& module, const fs::path& dir, const entriesT& entries) {
    const fs::path u3d = dir / "model.tmp.u3d";
    fs::copy_file(testData("box.u3d"), u3d, fs::copy_options::overwrite_existing);
    auto request = conversionRequest(dir / "out.pdf", u3d, kModelBox);
    addCustomEntry(request.get(), "CenterView", "On");
    for (const auto& [key, text] : entries)
        addCustomEntry(request.get(), key.c_str(), text.c_str());
    EXPECT_EQ(module.convertMetaTree(request.get(), 0), 1) << customData(request.get());
    return readFile(dir / "out.pdf");
}

// The stream's Length is a direct number equal to its data's size.
void expectLengthOfData(const pdfObjectS& object) {
    EXPECT_TRUE(object.isStream);
    EXPECT_EQ(entryOf(object.dictionary, "Length"), std::to_string(object.data.size()));
}

TEST(PosterConversionTest, ThePosterIsTheAnnotationsAppearanceAnImageOverItsRectangle) {
    loadedModuleS module;
    scratchDirS dir("poster");
    for (const auto& [resolution, width, height] :
         {std::tuple<const char*, int, int>{"72", 783, 602}, {nullptr, 1631, 1254}}) {
        SCOPED_TRACE(width);
        entriesT entries = {{"poster", "on"}};
        if (resolution)
            entries.push_back({"PosterResolution", resolution});
        const std::string pdf = convertWith(module, dir.path, entries);
        if (qpdfAvailable()) {
            EXPECT_EQ(runQpdf({"--check", buildMachinePath(dir / "out.pdf")}).status, 0);
        }
        const auto objects = pdfObjects(pdf);

        // The annotation: printed, and AP N a form.
        ASSERT_TRUE(objects.count(7));
        const std::string& annotation = objects.at(7).dictionary;
        EXPECT_EQ(entryOf(annotation, "F"), "4");
        const size_t ap = annotation.find("/AP <<\r\n/N ");
        ASSERT_NE(ap, std::string::npos);
        const int formId = referenceTo(annotation.substr(ap + 11));
        ASSERT_TRUE(objects.count(formId));
        const pdfObjectS& form = objects.at(formId);
        EXPECT_EQ(entryOf(form.dictionary, "Type"), "/XObject");
        EXPECT_EQ(entryOf(form.dictionary, "Subtype"), "/Form");
        EXPECT_EQ(entryOf(form.dictionary, "BBox"), "[5 5 788 607 ]");
        EXPECT_EQ(entryOf(form.dictionary, "Filter"), "/FlateDecode");
        expectLengthOfData(form);
        // The image's unit square scaled to the box and moved to its corner.
        EXPECT_EQ(inflated(form.data), "q 783 0 0 602 5 5 cm /Poster Do Q\n");

        const int imageId = referenceTo(entryOf(form.dictionary, "Poster"));
        ASSERT_TRUE(objects.count(imageId));
        const pdfObjectS& image = objects.at(imageId);
        EXPECT_EQ(entryOf(image.dictionary, "Subtype"), "/Image");
        EXPECT_EQ(entryOf(image.dictionary, "Width"), std::to_string(width));
        EXPECT_EQ(entryOf(image.dictionary, "Height"), std::to_string(height));
        EXPECT_EQ(entryOf(image.dictionary, "ColorSpace"), "/DeviceRGB");
        EXPECT_EQ(entryOf(image.dictionary, "BitsPerComponent"), "8");
        EXPECT_EQ(entryOf(image.dictionary, "Filter"), "/FlateDecode");
        expectLengthOfData(image);
        const std::string pixels = inflated(image.data);
        ASSERT_EQ(pixels.size(), size_t(width) * size_t(height) * 3);
        // The model in the middle, the white background in the corners.
        const size_t middle = (size_t(height / 2) * size_t(width) + size_t(width / 2)) * 3;
        EXPECT_NE(pixels.substr(middle, 3), "\xff\xff\xff");
        EXPECT_EQ(pixels.substr(0, 3), "\xff\xff\xff");

        // The model is still embedded byte for byte.
        ASSERT_TRUE(objects.count(8));
        EXPECT_EQ(inflated(objects.at(8).data), readFile(testData("box.u3d")));
    }
}

// The names as the PDF standard spells them (ISO 32000-1, 13.6.4, Tables
// 306 and 307), given to the module in lower case.
const char* const kRenderModes[] = {
    "Solid",        "SolidWireframe", "Transparent",         "TransparentWireframe", "BoundingBox",
    "TransparentBoundingBox", "TransparentBoundingBoxOutline", "Wireframe", "ShadedWireframe",
    "HiddenWireframe", "Vertices", "ShadedVertices", "Illustration", "SolidOutline", "ShadedIllustration",
};
const char* const kLightingSchemes[] = {"White", "Day", "Night", "Hard", "Primary",
                                        "Blue",  "Red", "Cube",  "CAD",  "Headlamp"};

std::string lower(std::string text) {
    for (char& c : text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

TEST(PosterConversionTest, PresentationEntriesReachThePdfByTheirNames) {
    loadedModuleS module;
    scratchDirS dir("presentation");
    const size_t modes = std::size(kRenderModes), schemes = std::size(kLightingSchemes);
    for (size_t i = 0; i < modes; ++i) {
        SCOPED_TRACE(kRenderModes[i]);
        // An earlier entry of the same key, in other capitals, loses.
        const std::string pdf = convertWith(module, dir.path,
                                            {{"RENDERMODE", "Wireframe"},
                                             {"rendermode", lower(kRenderModes[i])},
                                             {"LightingScheme", lower(kLightingSchemes[i % schemes])}});
        const std::string annotation = pdfObjects(pdf)[7].dictionary;
        EXPECT_NE(annotation.find("/Type /3DRenderMode\r\n/Subtype /" + std::string(kRenderModes[i]) + "\r\n"),
                  std::string::npos);
        EXPECT_NE(annotation.find("/Type /3DLightingScheme\r\n/Subtype /" +
                                  std::string(kLightingSchemes[i % schemes]) + "\r\n"),
                  std::string::npos);
        // No poster unless asked for; no panels, views or new version.
        EXPECT_EQ(annotation.find("/AP <<\r\n/N <<"), annotation.find("/AP <<"));
        EXPECT_EQ(pdf.substr(0, 8), "%PDF-1.6");
    }

    const std::string pdf = convertWith(module, dir.path,
                                        {{"Views", "top, Front,isometric Back left RIGHT bottom"},
                                         {"Background", "0 0.5 1"},
                                         {"Toolbar", "Off"},
                                         {"ModelTree", "yes"}});
    // TB and NP are PDF 1.7 entries.
    EXPECT_EQ(pdf.substr(0, 8), "%PDF-1.7");
    auto objects = pdfObjects(pdf);
    const std::string& annotation = objects[7].dictionary;
    EXPECT_NE(annotation.find("/3DA <<\r\n/A /PO\r\n/DIS /I\r\n/TB false\r\n/NP true\r\n>>"), std::string::npos);
    EXPECT_NE(annotation.find("/C [0 0.5 1 ]"), std::string::npos);
    // The list of views: the default one first, then the named ones in a
    // fixed order, whatever the order asked; the default view shown first.
    const std::string& stream = objects[8].dictionary;
    size_t at = 0;
    for (const char* name : {"Default", "Front", "Back", "Left", "Right", "Top", "Bottom", "Isometric"}) {
        at = stream.find("/XN (" + std::string(name) + ")\r\n/IN (" + name + ")", at);
        EXPECT_NE(at, std::string::npos) << name;
    }
    EXPECT_EQ(entryOf(stream, "DV"), "0");
    EXPECT_EQ(inflated(objects[8].data), readFile(testData("box.u3d")));
    if (qpdfAvailable()) {
        EXPECT_EQ(runQpdf({"--check", buildMachinePath(dir / "out.pdf")}).status, 0);
    }
}

}  // namespace
