#include <gtest/gtest.h>

#include <string>

#include "PdfTestSupport.h"
#include "pdf/PdfArray.h"
#include "pdf/PdfDoc.h"
#include "pdf/PdfPage.h"
#include "pdf/PdfPages.h"
#include "pdf/PdfScalars.h"
#include "pdf/PdfString.h"
#include "pdf/PdfXref.h"

namespace {

struct PdfPagesTest : ::testing::Test {
    void SetUp() override {
        doc.CreateDocument();
        page = doc.AddPage();
    }
    PdfDoc doc;
    PdfPage* page = nullptr;
};

}  // namespace

TEST_F(PdfPagesTest, PageDictionaryAndSize) {
    EXPECT_EQ(Written(*page),
              "<<\r\n/Type /Page\r\n/Parent 2 0 R\r\n/Resources <<\r\n>>\r\n/MediaBox [0 0 596 842 ]\r\n>>");
    EXPECT_EQ(page->GetParent(), doc.GetRootPages());
    EXPECT_EQ(page->GetPageCount(), 1);

    page->SetSize(793, 612);
    EXPECT_EQ(Written(*page),
              "<<\r\n/Type /Page\r\n/Parent 2 0 R\r\n/Resources <<\r\n>>\r\n/MediaBox [0 0 793 612 ]\r\n>>");
    EXPECT_EQ(CatchPdf([&] { page->SetSize(0, 612); }), PdfError(-5, "ERROR: invalid page size(0,612)."));
    EXPECT_EQ(CatchPdf([&] { page->SetSize(793, -1); }), PdfError(-5, "ERROR: invalid page size(793,-1)."));
    EXPECT_NE(Written(*page).find("/MediaBox [0 0 793 612 ]"), std::string::npos);
    page->SetSize(1, 100000);  // no upper limit
    EXPECT_NE(Written(*page).find("/MediaBox [0 0 1 100000 ]"), std::string::npos);
    page->SetBox("CropBox", -1, -2, 3, 4);
    EXPECT_NE(Written(*page).find("/CropBox [-1 -2 3 4 ]"), std::string::npos);
}

TEST_F(PdfPagesTest, ResourcesAndProcSet) {
    PdfDictionary* resources = page->GetResources();
    EXPECT_EQ(resources, page->GetResources());
    page->AddProcSet(PdfProcSetPDF);
    EXPECT_EQ(page->GetProcSetFlags(), PdfProcSetPDF);
    EXPECT_NE(Written(*page).find("/Resources <<\r\n/ProcSet [/PDF ]\r\n>>"), std::string::npos);
    page->AddProcSet(PdfProcSetImageI | PdfProcSetText | PdfProcSetImageB | PdfProcSetImageC);
    EXPECT_EQ(Written(*resources->GetElement("ProcSet")), "[/PDF /Text /ImageB /ImageC /ImageI ]");
    EXPECT_EQ(page->GetProcSetFlags(), 62);

    // A non-dictionary is refused; the caller keeps it and nothing changes.
    PdfText notADictionary("x");
    EXPECT_EQ(CatchPdf([&] { page->SetResources(&notADictionary); }),
              PdfError(-5, "ERROR: PdfPage::SetResources invarid resources"));
    EXPECT_EQ(page->GetResources(), resources);

    auto* replacement = new PdfDictionary(doc.GetXref());
    page->SetResources(replacement);
    EXPECT_EQ(page->GetResources(), replacement);
    page->SetResources(nullptr);
    EXPECT_EQ(page->GetElement("Resources"), nullptr);
    // Missing resources are recreated empty on request.
    EXPECT_EQ(page->GetResources()->GetCount(), 0);
}

TEST_F(PdfPagesTest, TreeInheritanceAndCount) {
    PdfPages* root = doc.GetRootPages();
    // A MediaBox on the root is inherited: new pages carry none of their own,
    // but each still gets its own Resources.
    auto* box = new PdfArray(doc.GetXref());
    box->AddRect(0, 0, 100, 200);
    root->AddElement("MediaBox", box);
    root->AddElement("Resources", new PdfDictionary(doc.GetXref()));
    root->AddElement("Rotate", new PdfNumber(90));
    PdfPage* second = doc.AddPage();
    EXPECT_EQ(second->GetElement("MediaBox"), nullptr);
    EXPECT_EQ(second->GetInheritableElement("MediaBox"), box);
    EXPECT_EQ(Written(*second->GetInheritableElement("Rotate")), "90");
    EXPECT_EQ(second->GetInheritableElement("Missing"), nullptr);
    EXPECT_NE(second->GetResources(), root->GetElement("Resources"));
    EXPECT_EQ(second->GetResources(), second->GetElement("Resources"));

    // Pages go where the index says; Count follows every addition.
    PdfPage* first = root->AddPage(0);
    PdfPage* middle = root->AddPage(2);
    EXPECT_EQ(doc.GetCurrentPage(), middle);
    EXPECT_EQ(Written(*root->GetKids()), "[" + std::to_string(first->GetId()) + " 0 R 4 0 R " +
                                             std::to_string(middle->GetId()) + " 0 R " +
                                             std::to_string(second->GetId()) + " 0 R ]");
    EXPECT_EQ(root->GetPageCount(), 4);
    EXPECT_NE(Written(*root).find("/Count 4\r\n>>"), std::string::npos);
    const PdfError cannotAdd(-5, "ERROR: Invalid operation cannot add Page.");
    int objects = doc.GetXref()->GetCount();
    EXPECT_EQ(CatchPdf([&] { root->AddPage(-2); }), cannotAdd);
    EXPECT_EQ(CatchPdf([&] { root->AddPage(5); }), cannotAdd);
    EXPECT_EQ(doc.GetXref()->GetCount(), objects);  // nothing was created
    EXPECT_EQ(root->GetPageCount(), 4);

    // A node is only attached once registered: a direct one would end up
    // owned by the Kids array.
    PdfPage loose(*doc.GetXref());
    EXPECT_EQ(CatchPdf([&] { root->AddKid(&loose); }), cannotAdd);

    // A node under the root counts its own pages.
    auto* node = new PdfPages(*doc.GetXref());
    node->Init();
    root->AddKid(node);
    node->AddPage();
    node->AddPage();
    EXPECT_EQ(doc.GetCurrentPages(), node);
    EXPECT_EQ(node->GetPageCount(), 2);
    EXPECT_EQ(root->GetPageCount(), 6);
    StringSink out;
    doc.WriteToStream(out);
    EXPECT_NE(out.data.find("/Type /Pages\r\n/Kids ["), std::string::npos);
    EXPECT_NE(out.data.find("/Count 6\r\n>>"), std::string::npos);
}
