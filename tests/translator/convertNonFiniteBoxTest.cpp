// A box with a NaN or infinite corner gives no camera distance a PDF can
// hold: the conversion fails cleanly instead of writing "nan" or "inf" into
// the file.
#include "metatree/metaTree.h"
#include "pdf/PdfException.h"
#include "pdf/PdfMemStream.h"
#include "pdf/PdfScalars.h"
#include "translator/translatorEntryPoints.h"
#include "support/trees/treeText.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <memory>
#include <string>

namespace {

namespace fs = std::filesystem;

std::unique_ptr<metaTreeC> boxRequest(const fs::path& output, const fs::path& u3d, double corner) {
    std::unique_ptr<metaTreeC> root(createKeyNode("REQUEST"));
    addText(root.get(), "OUTPUTLOCATION", output.string().c_str());
    metaTreeC* record = addKey(addKey(root.get(), "INPUTDATA"), "MODEL");
    addText(record, "FILENAME", u3d.string().c_str());
    addNumbers(record, "U3DBOXMIN", {0, corner, 0});
    addNumbers(record, "U3DBOXMAX", {1, 1, 1});
    return root;
}

// The code of the PdfException that writing value as a real throws; 0 when
// it is written.
int realWriteError(double value, int64_t& written) {
    PdfMemStream sink;
    PdfReal real(value);
    try {
        real.WriteToStream(sink);
    } catch (const PdfException& error) {
        written = sink.GetSize();
        return error.GetCode();
    }
    written = sink.GetSize();
    return 0;
}

TEST(ConvertNonFiniteBoxTest, NonFiniteCornerFailsWithoutOutputAndKeepsTheModel) {
    const fs::path dir = fs::temp_directory_path() / ("u3dpdf_nonfinite_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path u3d = dir / "model.tmp.u3d";
    const fs::path pdf = dir / "out.pdf";
    fs::copy_file(fs::path(U3DPDF_TEST_DATA_DIR) / "box.u3d", u3d);

    const double inf = std::numeric_limits<double>::infinity();
    for (double corner : {std::numeric_limits<double>::quiet_NaN(), inf, -inf}) {
        SCOPED_TRACE(corner);
        auto tree = boxRequest(pdf, u3d, corner);
        EXPECT_EQ(translator::convertMetaTree(tree.get(), 0), 0);
        // The host learns which of its values was at fault.
        EXPECT_NE(treeText(tree.get()).find("CUSTOMDATA(ENTRIES(ENTRY(KEY('ErrorMessage'),TEXT('the bounding box has "
                                            "a corner coordinate that is not a finite number'))))"),
                  std::string::npos);
        EXPECT_FALSE(fs::exists(pdf));
        // The host may retry with a sound box: its model is still there, and
        // no temporary file of the writer is left beside the output.
        EXPECT_TRUE(fs::exists(u3d));
        EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    }
    // The same request with a finite box converts, so the failures above
    // come from the corner alone.
    auto sound = boxRequest(pdf, u3d, 0);
    EXPECT_EQ(translator::convertMetaTree(sound.get(), 0), 1);
    EXPECT_TRUE(fs::exists(pdf));
    fs::remove_all(dir);

    // Why no such file can ever appear: the real writer refuses every
    // non-finite value before writing a byte of it.
    for (double value : {std::numeric_limits<double>::quiet_NaN(), inf, -inf}) {
        int64_t written = -1;
        EXPECT_EQ(realWriteError(value, written), PdfErrRange) << value;
        EXPECT_EQ(written, 0) << value;
    }
}

}  // namespace
