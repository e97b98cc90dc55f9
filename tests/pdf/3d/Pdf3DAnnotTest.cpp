#include <gtest/gtest.h>

#include <string>

#include "Pdf3dTestSupport.h"
#include "pdf/3d/Pdf3DAnnot.h"
#include "pdf/3d/Pdf3DStream.h"
#include "pdf/PdfDoc.h"
#include "pdf/PdfPage.h"
#include "pdf/PdfXref.h"

namespace {

struct Pdf3DAnnotTest : ::testing::Test {
    void SetUp() override {
        doc.CreateDocument();
        page = doc.AddPage();
    }
    std::string WrittenDoc() {
        StringSink sink;
        doc.WriteToStream(sink);
        return sink.data;
    }
    PdfDoc doc;
    PdfPage* page = nullptr;
};

}  // namespace

TEST_F(Pdf3DAnnotTest, AnnotationMakesPdf16AndKeepsOneStream) {
    EXPECT_EQ(WrittenDoc().substr(0, 9), "%PDF-1.2\n");
    Pdf3DAnnot* annot = Add3DAnnot(*page, 0, 0, 10, 10);
    EXPECT_EQ(WrittenDoc().substr(0, 9), "%PDF-1.6\n");
    EXPECT_TRUE(annot->GetInteractive());
    annot->SetInteractive(false);
    EXPECT_NE(Written(*annot).find("/Rect [0 0 10 10 ]\r\n/3DI false\r\n>>"), std::string::npos);

    ASSERT_TRUE(annot->LoadU3DFile(testData("box.u3d").string().c_str()));
    Pdf3DStream* stream = annot->Get3DStream();
    ASSERT_TRUE(annot->LoadU3DFile(testData("torus.u3d").string().c_str()));
    EXPECT_EQ(annot->Get3DStream(), stream);
    EXPECT_EQ(stream->GetId(), 6);
    EXPECT_EQ(doc.GetXref()->GetCount(), 7);
    std::string text = Written(*annot);
    EXPECT_EQ(text.find("/3DD"), text.rfind("/3DD"));
    EXPECT_EQ(stream->GetStream()->GetSize(), static_cast<int64_t>(Compress2(readFile(testData("torus.u3d"))).size()));

    // Outside a document there is no table to hold a stream.
    EXPECT_EQ(CatchPdf([] { Pdf3DAnnot(nullptr).LoadU3DFile("x"); }).first, -5);
}

TEST_F(Pdf3DAnnotTest, RefusedRectangleLeavesAnnotationWithoutRect) {
    EXPECT_EQ(CatchPdf([&] { Add3DAnnot(*page, 5, 5, 5, 607); }).first, -5);
    EXPECT_EQ(Written(*page->GetElement("Annots")), "[5 0 R ]");
    EXPECT_EQ(CatchPdf([&] { WrittenDoc(); }),
              PdfError(-5, "ERROR: PdfAnnotation::WriteToStream Rect element must be set."));
}
