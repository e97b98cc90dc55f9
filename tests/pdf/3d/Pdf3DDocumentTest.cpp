#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "support/hostProcess.h"
#include "Pdf3dTestSupport.h"
#include "pdf/3d/Pdf3DAnnot.h"
#include "pdf/3d/Pdf3dAnnotActivation.h"
#include "pdf/3d/Pdf3dLightingScheme.h"
#include "pdf/3d/Pdf3dRenderMode.h"
#include "pdf/3d/Pdf3dView.h"
#include "pdf/PdfContents.h"
#include "pdf/PdfDoc.h"
#include "pdf/PdfPage.h"

namespace {

// Everything of the converted document before the compressed 3D data.
const std::string kBeforeData =
    "%PDF-1.6\n%\xB7\xBE\xAD\xAA\r\n"
    // offset 16
    "1 0 obj\r\n<<\r\n/Type /Catalog\r\n/Pages 2 0 R\r\n>>\r\nendobj\r\n"
    // offset 71
    "2 0 obj\r\n<<\r\n/Type /Pages\r\n/Kids [4 0 R ]\r\n/Count 1\r\n>>\r\nendobj\r\n"
    // offset 136
    "3 0 obj\r\n<<\r\n/Producer "
    "(VELA\\040Free\\040PDF\\040Library\\040Version\\0401.2.0\\040Beta5)\r\n>>\r\nendobj\r\n"
    // offset 234
    "4 0 obj\r\n<<\r\n/Type /Page\r\n/Parent 2 0 R\r\n/Resources <<\r\n/ProcSet [/PDF ]\r\n>>\r\n"
    "/MediaBox [0 0 793 612 ]\r\n/Contents 5 0 R\r\n/Annots [7 0 R ]\r\n>>\r\nendobj\r\n"
    // offset 385
    "5 0 obj\r\n<<\r\n/Length 6 0 R\r\n>>\r\nstream\r\n1 1 1 rg\n0 0 793 612 re\nf\n\r\nendstream\r\n"
    "endobj\r\n"
    // offset 472
    "6 0 obj\r\n26\r\nendobj\r\n"
    // offset 493
    "7 0 obj\r\n<<\r\n/Type /Annot\r\n/Subtype /3D\r\n"
    "/AP <<\r\n/N <<\r\n/Subtype /Form\r\n/Matrix [1 0 0 1 0 0 ]\r\n>>\r\n>>\r\n"
    "/Rect [5 5 788 607 ]\r\n"
    "/3DA <<\r\n/A /PO\r\n/DIS /I\r\n>>\r\n"
    "/3DI true\r\n"
    "/3DV <<\r\n/Type /3DView\r\n/XN /#28Unnamed#29\r\n"
    "/LS <<\r\n/Type /3DLightingScheme\r\n/Subtype /White\r\n>>\r\n"
    "/RM <<\r\n/Type /3DRenderMode\r\n/Subtype /SolidOutline\r\n>>\r\n"
    "/BG <<\r\n/Subtype /SC\r\n/C [1 1 1 ]\r\n>>\r\n"
    "/MS /M\r\n"
    "/C2W [-0.70711 0 0.70711 -0.35355 0.86603 -0.35355 -0.61237 -0.5 -0.61237 "
    "1.90919 1.55885 1.90919 ]\r\n"
    "/CO 3.11769\r\n>>\r\n"
    "/3DD 8 0 R\r\n>>\r\nendobj\r\n"
    // offset 1004
    "8 0 obj\r\n<<\r\n/Type /3D\r\n/Subtype /U3D\r\n/Length ";
// The Length value and this follow, then the data.
const std::string kDataStart = "\r\n/Filter /FlateDecode\r\n>>\r\nstream\r\n";

// Everything after the data up to the offset of the table.
const std::string kAfterData =
    "\r\nendstream\r\nendobj\r\n"
    "xref\r\n0 9\r\n"
    "0000000000 65535 f\r\n"
    "0000000016 00000 n\r\n"
    "0000000071 00000 n\r\n"
    "0000000136 00000 n\r\n"
    "0000000234 00000 n\r\n"
    "0000000385 00000 n\r\n"
    "0000000472 00000 n\r\n"
    "0000000493 00000 n\r\n"
    "0000001004 00000 n\r\n"
    "trailer\r\n<<\r\n/Root 1 0 R\r\n/Info 3 0 R\r\n/Size 9\r\n>>\r\n"
    "startxref\r\n";

// The camera of the box (0,0,0)-(1,1,1): the view direction of the
// rotation (-30, 135, 0) degrees and a distance of 1.8 times the diagonal.
Pdf3dCameraMatrix UnitBoxCamera(double& distance) {
    const double h = std::sqrt(0.5);           // cos 45
    const double q = std::sqrt(0.5) * 0.5;     // sin 45 sin 30
    const double s = std::sqrt(0.75);          // cos 30
    const double t = std::sqrt(0.5) * s;       // cos 45 cos 30
    distance = std::fabs(std::sqrt(3.0) * 1.8);
    Pdf3dCameraMatrix m;
    const double axes[9] = {-h, 0, h, -q, s, -q, -t, -0.5, -t};
    for (int i = 0; i < 9; ++i)
        m[i] = axes[i];
    m[9] = distance * t;
    m[10] = distance * 0.5;
    m[11] = distance * t;
    return m;
}

// The document of one conversion, built with the writer classes alone.
bool BuildConversionDocument(PdfDoc& doc, const std::string& u3d) {
    doc.CreateDocument();
    PdfPage* page = doc.AddPage();
    page->SetSize(793, 612);
    page->GetContents()->SetRGBFill(255, 255, 255).Rectangle(0, 0, 793, 612).Fill();
    Pdf3DAnnot* annot = Add3DAnnot(*page, 5, 5, 788, 607);
    annot->GetActivation()->SetActivationMode(0);
    annot->GetActivation()->SetDeactivationState(1);
    annot->SetInteractive(true);
    Pdf3dView* view = annot->GetView();
    view->GetLightingScheme()->SetScheme(0);
    view->GetRenderMode()->SetMode(11);
    view->SetBackground(255, 255, 255);
    double distance = 0;
    view->SetCameraMatrix(UnitBoxCamera(distance));
    view->SetCameraDistance(distance);
    return annot->LoadU3DFile(u3d.c_str());
}

}  // namespace

TEST(Pdf3DDocumentTest, ByteLayoutQpdfAndEmbeddedModel) {
    scratchDirS dir("pdf3d");
    const std::string u3d = testData("box.u3d").string();
    const std::string model = readFile(u3d);
    ASSERT_FALSE(model.empty());
    const std::string pdf = (dir / "converted.pdf").string();
    {
        PdfDoc doc;
        ASSERT_TRUE(BuildConversionDocument(doc, u3d));
        doc.WriteToFile(pdf.c_str());
    }
    const std::string file = readFile(pdf);

    // The layout up to the data.
    ASSERT_GT(file.size(), kBeforeData.size());
    ASSERT_EQ(file.substr(0, kBeforeData.size()), kBeforeData);
    EXPECT_EQ(kBeforeData.find("7 0 obj"), 493u);
    EXPECT_EQ(kBeforeData.find("8 0 obj"), 1004u);
    size_t lengthEnd = file.find(kDataStart, kBeforeData.size());
    ASSERT_NE(lengthEnd, std::string::npos);
    const std::string length = file.substr(kBeforeData.size(), lengthEnd - kBeforeData.size());
    const size_t dataStart = lengthEnd + kDataStart.size();
    const size_t dataLength = std::stoul(length);
    ASSERT_EQ(std::to_string(dataLength), length);
    ASSERT_LE(dataStart + dataLength, file.size());

    // The data is the model, compressed.
    EXPECT_TRUE(Inflate(file.substr(dataStart, dataLength)) == model);

    // And the layout after it.
    const std::string xref = std::to_string(dataStart + dataLength + 21);
    EXPECT_EQ(file.substr(dataStart + dataLength), kAfterData + xref + "\r\n%%EOF\r\n");

    U3DPDF_SKIP_WITHOUT_QPDF();
    const std::string checked = buildMachinePath(pdf);
    EXPECT_EQ(runQpdf({"--check", checked}).status, 0);
    const commandResultS extracted = runQpdf({"--show-object=8", "--filtered-stream-data", checked});
    ASSERT_EQ(extracted.status, 0);
    EXPECT_TRUE(extracted.output == model);
}
