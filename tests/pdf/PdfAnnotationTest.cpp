#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "PdfTestSupport.h"
#include "pdf/PdfAnnotation.h"
#include "pdf/PdfDoc.h"
#include "pdf/PdfPage.h"
#include "pdf/PdfXref.h"

TEST(PdfAnnotationTest, SubtypeAndRect) {
    PdfAnnotation link(nullptr, PdfAnnotLink);
    EXPECT_EQ(CatchPdf([&] { Written(link); }),
              PdfError(-5, "ERROR: PdfAnnotation::WriteToStream Rect element must be set."));
    link.SetRect(5, 5, 788, 607);
    link.AddElement("Border", new PdfName("x"));
    link.SetRect(0.5, 1, 2, 3.25);  // replaces, and moves to the end
    const std::string written = "<<\r\n/Type /Annot\r\n/Subtype /Link\r\n/Border /x\r\n/Rect [0.5 1 2 3.25 ]\r\n>>";
    EXPECT_EQ(Written(link), written);

    // Refused rectangles change nothing.
    EXPECT_EQ(CatchPdf([&] { link.SetRect(5, 5, 5, 607); }),
              PdfError(-5, "ERROR: Invalid rect values (5.000000,5.000000,5.000000,607.000000)."));
    EXPECT_EQ(CatchPdf([&] { link.SetRect(5, 5, 788, 5); }).first, -5);
    EXPECT_EQ(CatchPdf([&] { link.SetRect(788, 5, 5, 607); }).first, -5);
    EXPECT_EQ(CatchPdf([&] { link.SetRect(5, std::nan(""), 788, 607); }).first, -5);
    EXPECT_EQ(Written(link), written);
    EXPECT_EQ(link.GetLeft(), 0.5);

    EXPECT_EQ(Written(*PdfAnnotation(nullptr, PdfAnnotPopup).GetElement("Subtype")), "/Popup");
    EXPECT_EQ(CatchPdf([] { PdfAnnotation(nullptr, static_cast<PdfAnnotationType>(13)); }),
              PdfError(-5, "ERROR: PdfAnnotation invalid annotation type(13)."));
}

TEST(PdfAnnotationTest, PageAnnotsList) {
    PdfDoc doc;
    doc.CreateDocument();
    PdfPage* page = doc.AddPage();
    auto* first = new PdfAnnotation(doc.GetXref(), PdfAnnotText);
    page->AddAnnotation(first);  // registers it and creates Annots
    auto* second = new PdfAnnotation(doc.GetXref(), PdfAnnotSquare);
    doc.GetXref()->AddObject(second);  // already indirect: keeps its id
    page->AddAnnotation(second);
    page->AddAnnotation(first);  // listed twice, written once
    EXPECT_EQ(Written(*page->GetElement("Annots")), "[5 0 R 6 0 R 5 0 R ]");

    // An attached annotation without Rect stops the document write there.
    first->SetRect(10, 10, 20, 20);
    StringSink out;
    EXPECT_EQ(CatchPdf([&] { doc.WriteToStream(out); }).first, -5);
    EXPECT_EQ(out.data.substr(out.data.size() - 9), "6 0 obj\r\n");
    second->SetRect(0, 0, 1, 1);
    out.data.clear();
    doc.WriteToStream(out);
    EXPECT_EQ(out.data.find("5 0 obj"), out.data.rfind("5 0 obj"));
}
