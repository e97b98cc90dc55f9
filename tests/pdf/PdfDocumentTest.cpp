#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/hostProcess.h"
#include "support/testFiles.h"
#include "PdfTestSupport.h"
#include "pdf/PdfAutoPtrMgr.h"
#include "pdf/PdfCatalog.h"
#include "pdf/PdfDoc.h"
#include "pdf/PdfInfo.h"
#include "pdf/PdfPage.h"
#include "pdf/PdfPages.h"
#include "pdf/PdfName.h"
#include "pdf/PdfScalars.h"
#include "pdf/PdfStream.h"
#include "pdf/PdfXref.h"

namespace fs = std::filesystem;

namespace {

// CreateDocument and one AddPage, byte for byte.
const std::string kWorkedExample =
    "%PDF-1.2\n%\xB7\xBE\xAD\xAA\r\n"
    "1 0 obj\r\n<<\r\n/Type /Catalog\r\n/Pages 2 0 R\r\n>>\r\nendobj\r\n"
    "2 0 obj\r\n<<\r\n/Type /Pages\r\n/Kids [4 0 R ]\r\n/Count 1\r\n>>\r\nendobj\r\n"
    "3 0 obj\r\n<<\r\n/Producer "
    "(VELA\\040Free\\040PDF\\040Library\\040Version\\0401.2.0\\040Beta5)\r\n>>\r\nendobj\r\n"
    "4 0 obj\r\n<<\r\n/Type /Page\r\n/Parent 2 0 R\r\n/Resources <<\r\n>>\r\n"
    "/MediaBox [0 0 596 842 ]\r\n>>\r\nendobj\r\n"
    "xref\r\n0 5\r\n"
    "0000000000 65535 f\r\n"
    "0000000016 00000 n\r\n"
    "0000000071 00000 n\r\n"
    "0000000136 00000 n\r\n"
    "0000000234 00000 n\r\n"
    "trailer\r\n<<\r\n/Root 1 0 R\r\n/Info 3 0 R\r\n/Size 5\r\n>>\r\n"
    "startxref\r\n332\r\n%%EOF\r\n";

std::string WrittenDoc(PdfDoc& doc) {
    StringSink sink;
    doc.WriteToStream(sink);
    return sink.data;
}

}  // namespace

namespace {

// The shape a compressed stream takes on top of PdfStream: data deflated
// into a scratch stream, then a direct Length and a FlateDecode filter.
class DeflatedStream : public PdfStream {
public:
    using PdfStream::PdfStream;
    void WriteToStream(PdfStreamBase& out) override {
        PdfMemStream compressed;
        int64_t length = GetStream()->WriteToStreamDeflate(compressed);
        AddElement("Filter", new PdfName("FlateDecode"));
        AddElement("Length", new PdfNumber(length));
        WriteWithData(out, compressed);
    }
};

}  // namespace

TEST(PdfDocTest, WorkedExampleByteForByte) {
    ASSERT_EQ(kWorkedExample.size(), 518u);
    PdfDoc doc;
    doc.CreateDocument();
    PdfPage* page = doc.AddPage();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->GetId(), 4);
    EXPECT_EQ(doc.GetCurrentPage(), page);
    EXPECT_EQ(doc.GetCurrentPages(), doc.GetRootPages());
    EXPECT_EQ(doc.GetCatalog()->GetId(), 1);
    EXPECT_EQ(doc.GetRootPages()->GetId(), 2);
    EXPECT_EQ(doc.GetInfo()->GetId(), 3);

    std::string first = WrittenDoc(doc);
    EXPECT_EQ(first, kWorkedExample);
    EXPECT_EQ(doc.GetXref()->GetAddress(), 332);
    // Writing again recomputes everything and gives the same bytes.
    EXPECT_EQ(WrittenDoc(doc), first);

    doc.RequirePdf16();
    std::string pdf16 = WrittenDoc(doc);
    EXPECT_EQ(pdf16.substr(0, 9), "%PDF-1.6\n");
    EXPECT_EQ(pdf16.substr(8), first.substr(8));
}

TEST(PdfDocTest, WorkedExampleFilePassesQpdf) {
    scratchDirS dir("pdf");
    const fs::path path = dir / "worked_example.pdf";
    PdfDoc doc;
    doc.CreateDocument();
    doc.AddPage();
    doc.WriteToFile(path.string().c_str());
    EXPECT_EQ(fs::file_size(path), 518u);
    U3DPDF_SKIP_WITHOUT_QPDF();
    EXPECT_EQ(runQpdf({"--check", buildMachinePath(path)}).status, 0);
}

TEST(PdfDocTest, StreamsPassQpdfAndDecodeBack) {
    U3DPDF_SKIP_WITHOUT_QPDF();
    PdfDoc doc;
    doc.CreateDocument();
    PdfPage* page = doc.AddPage();
    auto* contents = new PdfStream(doc.GetXref());
    doc.GetXref()->AddObject(contents);
    page->AddElement("Contents", contents);
    *contents->GetStream() << "1 1 1 rg\n0 0 793 612 re\nf\n";
    auto* data = new DeflatedStream(doc.GetXref());
    doc.GetXref()->AddObject(data);
    page->AddElement("Data", data);
    std::string payload;
    for (int i = 0; i < 5000; ++i)
        payload += std::to_string(i * 7919 % 10007) + ' ';
    data->GetStream()->Write(payload.data(), payload.size());

    scratchDirS dir("pdf");
    const fs::path path = dir / "streams.pdf";
    doc.WriteToFile(path.string().c_str());
    const std::string checked = buildMachinePath(path);
    EXPECT_EQ(runQpdf({"--check", checked}).status, 0);
    // Object 5 is the contents, 6 the compressed stream, 7 the Length that
    // the contents registered while being written.
    EXPECT_EQ(runQpdf({"--show-object=5", "--filtered-stream-data", checked}).output,
              "1 1 1 rg\n0 0 793 612 re\nf\n");
    EXPECT_EQ(runQpdf({"--show-object=7", checked}).output, "26\n");
    const commandResultS decoded = runQpdf({"--show-object=6", "--filtered-stream-data", checked});
    EXPECT_EQ(decoded.status, 0);
    EXPECT_EQ(decoded.output.size(), payload.size());
    EXPECT_TRUE(decoded.output == payload);
}

TEST(PdfDocTest, LifecycleWithoutAndAfterDocument) {
    PdfDoc doc;
    EXPECT_FALSE(doc.HasDocument());
    EXPECT_EQ(doc.AddPage(), nullptr);
    EXPECT_EQ(doc.GetInfo(), nullptr);
    StringSink sink;
    EXPECT_EQ(CatchPdf([&] { doc.WriteToStream(sink); }),
              PdfError(-5, "ERROR: PdfDoc::WriteToStream no document to save."));
    EXPECT_EQ(sink.data, "");

    doc.CreateDocument();
    doc.RequirePdf16();
    doc.AddPage();
    doc.AddPage();
    EXPECT_EQ(doc.GetXref()->GetCount(), 6);
    // Creating again starts over: fresh ids, flags reset.
    doc.CreateDocument();
    EXPECT_FALSE(doc.IsPdf16());
    EXPECT_EQ(doc.GetCurrentPage(), nullptr);
    EXPECT_EQ(doc.GetXref()->GetCount(), 4);
    EXPECT_EQ(doc.AddPage()->GetId(), 4);
    std::string text = WrittenDoc(doc);
    EXPECT_EQ(text, kWorkedExample);

    doc.FreeDocument(true);
    EXPECT_FALSE(doc.HasDocument());
    EXPECT_EQ(doc.GetXref(), nullptr);
    EXPECT_EQ(CatchPdf([&] { WrittenDoc(doc); }).first, -5);
}

TEST(PdfDocTest, SizeCountsEveryObjectAndTheFreeEntry) {
    PdfDoc doc;
    doc.CreateDocument();
    for (int i = 0; i < 3; ++i)
        doc.AddPage();
    auto* extra = new PdfNumber(99);
    EXPECT_EQ(doc.GetXref()->AddObject(extra), 7);
    std::string text = WrittenDoc(doc);
    EXPECT_NE(text.find("/Size 8\r\n"), std::string::npos);
    EXPECT_NE(text.find("/Count 3\r\n"), std::string::npos);
    EXPECT_NE(text.find("7 0 obj\r\n99\r\nendobj\r\n"), std::string::npos);
    EXPECT_NE(text.find("xref\r\n0 8\r\n0000000000 65535 f\r\n"), std::string::npos);
    // Every table line is 20 bytes: "xref" offset plus header plus 8 lines.
    size_t xref = text.find("xref\r\n");
    EXPECT_EQ(text.find("trailer\r\n"), xref + 6 + 5 + 8 * 20);
}

TEST(PdfXrefTest, RegistrationRules) {
    PdfXref xref;
    EXPECT_EQ(xref.GetCount(), 0);
    EXPECT_EQ(xref.GetObject(0), nullptr);
    auto* number = new PdfNumber(1);
    EXPECT_EQ(xref.AddObject(number), 1);
    EXPECT_EQ(xref.GetCount(), 2);
    EXPECT_EQ(xref.GetObject(0), nullptr);  // the free head holds no object
    EXPECT_EQ(xref.GetObject(1), number);
    EXPECT_EQ(xref.GetObject(2), nullptr);
    EXPECT_EQ(xref.GetObject(-1), nullptr);
    EXPECT_EQ(xref.GetDoc(), nullptr);

    // Held objects cannot get a second owner.
    const PdfError twice(-5, "ERROR: PdfXref::AddObject object(id=1) is owned already.");
    EXPECT_EQ(CatchPdf([&] { xref.AddObject(number); }), twice);
    PdfVirtualObject reference(1);
    EXPECT_EQ(CatchPdf([&] { xref.AddObject(&reference); }).first, -5);
    EXPECT_EQ(CatchPdf([&] { xref.AddObject(nullptr); }).first, -5);
    EXPECT_EQ(xref.GetCount(), 2);
}

TEST(PdfXrefTest, OffsetsBeyondTenDigitsAreRefused) {
    PdfDoc doc;
    doc.CreateDocument();
    doc.AddPage();  // the worked example's layout
    // Object 1 starts exactly at the largest ten-digit offset: accepted.
    CountingSink fits;
    fits.Write(nullptr, static_cast<size_t>(PdfXref::kMaxOffset - 16));
    PdfError error = CatchPdf([&] { doc.WriteToStream(fits); });
    EXPECT_EQ(error, PdfError(-4, "ERROR: PdfXref::WriteToStream offset 10000000054 of object 2 "
                                  "does not fit the table."));

    // Objects that all start within ten digits are fine even when the table
    // itself (startxref has no digit limit) starts beyond them.
    CountingSink below;
    below.Write(nullptr, static_cast<size_t>(PdfXref::kMaxOffset - 300));
    doc.WriteToStream(below);
    EXPECT_EQ(doc.GetXref()->GetAddress(), PdfXref::kMaxOffset - 300 + 332);
}

TEST(PdfDocTest, CatalogSettingsAreWrittenOnlyWhenSet) {
    PdfDoc doc;
    doc.CreateDocument();
    PdfCatalog* catalog = doc.GetCatalog();
    catalog->SetPageLayout(1);
    catalog->SetPageMode(3);
    catalog->SetNonFullScreenPageMode(2);
    catalog->SetViewerPreferences(PdfHideToolbar | PdfCenterWindow);
    catalog->SetOpenAction(new PdfNumber(0));
    const std::string expected =
        "<<\r\n/Type /Catalog\r\n/Pages 2 0 R\r\n/OpenAction 0\r\n/PageLayout /OneColumn\r\n"
        "/PageMode /FullScreen\r\n/NonFullScreenPageMode /UseThumbs\r\n"
        "/ViewerPreferences <<\r\n/HideToolbar true\r\n/CenterWindow true\r\n>>\r\n>>";
    EXPECT_EQ(Written(*catalog), expected);
    EXPECT_EQ(Written(*catalog), expected);  // stable from write to write

    catalog->SetViewerPreferences(PdfFitWindow);
    catalog->SetPageLayout(3);
    EXPECT_NE(Written(*catalog).find("/PageLayout /TwoColumnRight\r\n"), std::string::npos);
    EXPECT_NE(Written(*catalog).find("/ViewerPreferences <<\r\n/FitWindow true\r\n>>"), std::string::npos);

    catalog->SetPageLayout(0);
    catalog->SetPageMode(0);
    catalog->SetNonFullScreenPageMode(0);
    catalog->SetViewerPreferences(0);
    catalog->SetOpenAction(nullptr);
    EXPECT_EQ(Written(*catalog), "<<\r\n/Type /Catalog\r\n/Pages 2 0 R\r\n>>");
    EXPECT_EQ(CatchPdf([&] { catalog->SetPageMode(4); }),
              PdfError(-5, "ERROR: PdfCatalog::SetPageMode invalid index(4)."));
}

namespace {

struct Kept : PdfAutoPtrObject {
    static int alive;
    Kept() { ++alive; }
    ~Kept() override { --alive; }
};
int Kept::alive = 0;

}  // namespace

TEST(PdfDocTest, RegistryOutlivesCreateDocument) {
    {
        PdfDoc doc;
        doc.CreateDocument();
        doc.RegisterObject(new Kept);
        doc.CreateDocument();
        EXPECT_EQ(Kept::alive, 1);
        doc.FreeDocument(false);
        EXPECT_EQ(Kept::alive, 1);
    }
    EXPECT_EQ(Kept::alive, 0);
}
