#include "metatree/metaTree.h"
#include "translator/translatorEntryPoints.h"
#include "support/trees/treeText.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

namespace fs = std::filesystem;

std::unique_ptr<metaTreeC> request(const fs::path& output, const fs::path& u3d) {
    std::unique_ptr<metaTreeC> root(createKeyNode("REQUEST"));
    addText(root.get(), "OUTPUTLOCATION", output.string().c_str());
    metaTreeC* record = addKey(addKey(root.get(), "INPUTDATA"), "MODEL");
    addText(record, "FILENAME", u3d.string().c_str());
    addNumbers(record, "U3DBOXMIN", {0, 0, 0});
    addNumbers(record, "U3DBOXMAX", {1, 1, 1});
    return root;
}

std::string head(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string bytes(9, '\0');
    in.read(bytes.data(), 9);
    return bytes.substr(0, static_cast<size_t>(in.gcount()));
}

// Whole conversions are checked through the loaded module (integration
// tests); here the driver's own state between calls.
TEST(ConvertMetaTreeTest, EachCallIsOneConversionAndLeavesTheCounterEven) {
    const fs::path dir = fs::temp_directory_path() / ("u3dpdf_translator_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const uint32_t counterBefore = translator::convertCallCounter();
    ASSERT_EQ(counterBefore % 2, 0u);

    for (int i = 0; i < 2; ++i) {
        const fs::path u3d = dir / "model.tmp.u3d";
        const fs::path pdf = dir / ("out" + std::to_string(i) + ".pdf");
        fs::copy_file(fs::path(U3DPDF_TEST_DATA_DIR) / "box.u3d", u3d);
        auto tree = request(pdf, u3d);
        EXPECT_EQ(translator::convertMetaTree(tree.get(), 0x1234), 1);
        EXPECT_EQ(translator::convertCallCounter(), counterBefore + 2u * (i + 1));
        EXPECT_EQ(head(pdf), "%PDF-1.6\n");
        EXPECT_FALSE(fs::exists(u3d));
    }
    // A host that writes its model where the PDF goes keeps the PDF.
    const fs::path same = dir / "same.pdf";
    fs::copy_file(fs::path(U3DPDF_TEST_DATA_DIR) / "box.u3d", same);
    auto inPlace = request(same, same);
    EXPECT_EQ(translator::convertMetaTree(inPlace.get(), 0), 1);
    EXPECT_EQ(head(same), "%PDF-1.6\n");

    auto failing = request(dir / "missing" / "out.pdf", dir / "none.u3d");
    EXPECT_EQ(translator::convertMetaTree(failing.get(), 0), 0);
    EXPECT_EQ(translator::convertCallCounter(), counterBefore + 8u);
    fs::remove_all(dir);
}

}  // namespace
