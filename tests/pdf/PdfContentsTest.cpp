#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "PdfTestSupport.h"
#include "pdf/PdfContents.h"
#include "pdf/PdfDoc.h"
#include "pdf/PdfPage.h"

namespace {

struct PdfContentsTest : ::testing::Test {
    void SetUp() override {
        doc.CreateDocument();
        page = doc.AddPage();
        contents = page->GetContents();
    }
    // The operators written so far.
    std::string Data() {
        StringSink sink;
        contents->GetStream()->WriteToStream(sink);
        return sink.data;
    }
    PdfDoc doc;
    PdfPage* page = nullptr;
    PdfContents* contents = nullptr;
};

}  // namespace

TEST_F(PdfContentsTest, BackgroundOfTheConversion) {
    EXPECT_EQ(page->GetContents(), contents);  // one stream, one "PDF"
    EXPECT_EQ(Written(*page),
              "<<\r\n/Type /Page\r\n/Parent 2 0 R\r\n/Resources <<\r\n/ProcSet [/PDF ]\r\n>>\r\n"
              "/MediaBox [0 0 596 842 ]\r\n/Contents 5 0 R\r\n>>");
    contents->SetRGBFill(255, 255, 255).Rectangle(0, 0, 793, 612).Fill();
    StringSink out;
    doc.WriteToStream(out);
    EXPECT_NE(out.data.find("5 0 obj\r\n<<\r\n/Length 6 0 R\r\n>>\r\nstream\r\n1 1 1 rg\n0 0 793 612 re\nf\n"
                            "\r\nendstream\r\nendobj\r\n6 0 obj\r\n26\r\nendobj\r\n"),
              std::string::npos);
}

TEST_F(PdfContentsTest, OperatorsOnlyInTheirGraphicsModes) {
    EXPECT_EQ(CatchPdf([&] { contents->Fill(); }), PdfError(-5, "ERROR: Fill invalid graphics mode(0)."));
    contents->Rectangle(1, 2, 3, 4).Rectangle(10.5, 20.25, 1, 1);  // 0 -> 1 -> 1
    EXPECT_EQ(contents->GetGraphicsMode(), PdfPathObject);
    EXPECT_EQ(contents->GetCurrentY(), 20.25);
    EXPECT_EQ(CatchPdf([&] { contents->SetRGBFill(0.5, 0.5, 0.5); }),
              PdfError(-5, "ERROR: SetRGBFill invalid graphics mode(1)."));
    contents->Fill();
    EXPECT_EQ(CatchPdf([&] { contents->Fill(); }).first, -5);
    EXPECT_EQ(Data(), "1 2 3 4 re\n10.5 20.25 1 1 re\nf\n");  // refused ones wrote nothing
}

TEST_F(PdfContentsTest, ColoursAndOperandsOutOfRange) {
    contents->SetRGBFill(0, 128, 255);
    EXPECT_EQ(CatchPdf([&] { contents->SetRGBFill(-0.0001, 0.0, 0.0); }),
              PdfError(-6, "ERROR: SetRGBFill out of range(-0.000100:0.000000:0.000000)."));
    EXPECT_EQ(CatchPdf([&] { contents->SetRGBFill(0.0, 0.0, 1.0001); }).first, -6);
    EXPECT_EQ(CatchPdf([&] { contents->SetRGBFill(256, 0, 0); }),
              PdfError(-6, "ERROR: SetRGBFill out of range(1.003922:0.000000:0.000000)."));
    EXPECT_EQ(CatchPdf([&] { contents->SetRGBFill(0.0, std::nan(""), 0.0); }).first, -6);
    EXPECT_DOUBLE_EQ(contents->GetFillGreen(), 128 / 255.0);  // the colour kept

    // Operands before the bad one are out already; the mode is unchanged.
    EXPECT_EQ(CatchPdf([&] { contents->Rectangle(0, 0, 40000, 10); }),
              PdfError(-4, "error: operator<<(const double d)[40000.000000]\n."));
    EXPECT_EQ(contents->GetGraphicsMode(), PdfPageDescription);
    EXPECT_EQ(Data(), "0 0.50196 1 rg\n0 0 ");
}
