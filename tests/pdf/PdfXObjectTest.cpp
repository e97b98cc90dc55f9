// Image and form XObjects and an annotation's appearance: what the poster
// is made of.
#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "PdfTestSupport.h"
#include "pdf/PdfAnnotation.h"
#include "pdf/PdfDoc.h"
#include "pdf/PdfFormXObject.h"
#include "pdf/PdfImageXObject.h"
#include "pdf/PdfXref.h"

namespace {

// The stream's data as written, between "stream" and "endstream".
std::string StreamData(const std::string& written) {
    const size_t begin = written.find(">>\r\nstream\r\n") + 12;
    return written.substr(begin, written.rfind("\r\nendstream") - begin);
}

std::string Uncompressed(const std::string& data, size_t size) {
    std::string out(size, '\0');
    uLongf length = uLongf(size);
    EXPECT_EQ(uncompress(reinterpret_cast<Bytef*>(out.data()), &length,
                         reinterpret_cast<const Bytef*>(data.data()), uLong(data.size())),
              Z_OK);
    out.resize(length);
    return out;
}

}  // namespace

TEST(PdfXObjectTest, AnImageKeepsOnlyItsCompressedSamplesAndRefusesWrongSizes) {
    PdfImageXObject image(nullptr, 3, 2);
    std::vector<uint8_t> rgb(3 * 2 * 3);
    for (size_t i = 0; i < rgb.size(); ++i)
        rgb[i] = uint8_t(i * 13);
    EXPECT_EQ(CatchPdf([&] { image.SetPixels(rgb.data(), rgb.size() - 1); }),
              PdfError(-5, "ERROR: PdfImageXObject 17 bytes for 3 x 2 pixels."));
    image.SetPixels(rgb.data(), rgb.size());
    const std::string written = Written(image);
    const std::string data = StreamData(written);
    EXPECT_EQ(written.substr(0, written.find("\r\nstream")),
              "<<\r\n/Type /XObject\r\n/Subtype /Image\r\n/Width 3\r\n/Height 2\r\n/ColorSpace /DeviceRGB\r\n"
              "/BitsPerComponent 8\r\n/Length " +
                  std::to_string(data.size()) + "\r\n/Filter /FlateDecode\r\n>>");
    EXPECT_EQ(Uncompressed(data, rgb.size() + 1), std::string(rgb.begin(), rgb.end()));

    EXPECT_EQ(CatchPdf([] { PdfImageXObject(nullptr, 0, 5); }),
              PdfError(-5, "ERROR: PdfImageXObject invalid size(0 x 5)."));
    // Never given samples: the compressed form of nothing, still valid.
    PdfImageXObject empty(nullptr, 1, 1);
    EXPECT_EQ(StreamData(Written(empty)), std::string("\x78\x9c\x03\x00\x00\x00\x00\x01", 8));
}

TEST(PdfXObjectTest, AFormPaintsItsImageOverItsBoxAndBecomesTheAppearance) {
    PdfDoc doc;
    doc.CreateDocument();
    PdfXref* xref = doc.GetXref();
    auto* form = new PdfFormXObject(xref, 5, 5, 788, 607);
    auto* image = new PdfImageXObject(xref, 1, 1);
    // The resources refer to the image: both must have their ids first.
    EXPECT_EQ(CatchPdf([&] { form->PaintImage("Im", image); }).first, -5);
    xref->AddObject(form);
    EXPECT_EQ(CatchPdf([&] { form->PaintImage("Im", image); }).first, -5);
    xref->AddObject(image);
    form->PaintImage("Im", image);
    const std::string written = Written(*form);
    const std::string data = StreamData(written);
    EXPECT_EQ(written.substr(0, written.find("\r\nstream")),
              "<<\r\n/Type /XObject\r\n/Subtype /Form\r\n/BBox [5 5 788 607 ]\r\n/Matrix [1 0 0 1 0 0 ]\r\n/Length " +
                  std::to_string(data.size()) + "\r\n/Resources <<\r\n/XObject <<\r\n/Im " +
                  std::to_string(image->GetId()) + " 0 R\r\n>>\r\n>>\r\n/Filter /FlateDecode\r\n>>");
    EXPECT_EQ(Uncompressed(data, 100), "q 783 0 0 602 5 5 cm /Im Do Q\n");

    // The appearance replaces N of an AP the annotation may have already.
    PdfAnnotation annotation(xref, PdfAnnotText);
    PdfFormXObject loose(nullptr, 0, 0, 1, 1);
    EXPECT_EQ(CatchPdf([&] { annotation.SetNormalAppearance(&loose); }).first, -5);
    annotation.SetNormalAppearance(form);
    annotation.SetFlags(PdfAnnotFlagPrint);
    annotation.SetRect(5, 5, 788, 607);
    EXPECT_EQ(Written(annotation), "<<\r\n/Type /Annot\r\n/Subtype /Text\r\n/AP <<\r\n/N " +
                                       std::to_string(form->GetId()) + " 0 R\r\n>>\r\n/F 4\r\n/Rect [5 5 788 607 ]\r\n>>");
}

TEST(PdfXObjectTest, TheHeaderNamesTheLatestVersionAnyPartNeeds) {
    PdfDoc doc;
    doc.CreateDocument();
    StringSink out;
    doc.RequireVersion(7);
    doc.RequirePdf16();  // never lowers it
    doc.WriteToStream(out);
    EXPECT_EQ(out.data.substr(0, 9), "%PDF-1.7\n");
}
