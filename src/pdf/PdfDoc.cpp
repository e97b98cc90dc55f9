#include "pdf/PdfDoc.h"

#include "pdf/PdfAutoPtrMgr.h"
#include "pdf/PdfCatalog.h"
#include "pdf/PdfException.h"
#include "pdf/PdfFileStream.h"
#include "pdf/PdfHeader.h"
#include "pdf/PdfInfo.h"
#include "pdf/PdfPages.h"
#include "pdf/PdfTrailer.h"
#include "pdf/PdfXref.h"

namespace {
const char kProducer[] = "VELA Free PDF Library Version 1.2.0 Beta5";
}

PdfDoc::PdfDoc() = default;

PdfDoc::~PdfDoc() { FreeDocument(true); }

void PdfDoc::CreateDocument() {
    FreeDocument(false);
    m_xref = std::make_unique<PdfXref>(this);
    m_header = std::make_unique<PdfHeader>();
    m_trailer = std::make_unique<PdfTrailer>(m_xref.get());

    // AddObject owns what it is given, even when it fails, so nothing built
    // here needs deleting on the way out.
    auto* catalog = new PdfCatalog(m_xref.get());
    m_xref->AddObject(catalog);
    m_catalog = catalog;
    m_catalog->SetTypeName("Catalog");

    auto* root = new PdfPages(*m_xref);
    root->Init();
    m_rootPages = root;
    m_catalog->AddElement("Pages", root);
    m_trailer->SetRoot(m_catalog);
    m_currentPages = root;
    m_currentPage = nullptr;

    GetInfo()->SetProducer(kProducer);
    m_hasDocument = true;
}

PdfPage* PdfDoc::AddPage() { return m_currentPages ? m_currentPages->AddPage(-1) : nullptr; }

PdfInfo* PdfDoc::GetInfo() {
    if (!m_info && m_xref) {
        auto* info = new PdfInfo(m_xref.get());
        m_xref->AddObject(info);
        m_info = info;
        m_trailer->SetInfo(info);
    }
    return m_info;
}

void PdfDoc::RegisterObject(PdfAutoPtrObject* object) {
    if (!m_registry)
        m_registry = std::make_unique<PdfAutoPtrMgr>();
    m_registry->RegisterObject(object);
}

void PdfDoc::SetCurrentPage(PdfPages* node, PdfPage* page) {
    m_currentPages = node;
    m_currentPage = page;
}

void PdfDoc::RequireDocument() const {
    if (!m_hasDocument)
        throw PdfException(PdfErrInvalid, "ERROR: PdfDoc::WriteToStream no document to save.");
}

PdfStreamBase& PdfDoc::WriteToStream(PdfStreamBase& stream) {
    RequireDocument();
    m_header->WriteToStream(stream, m_minorVersion);
    m_xref->WriteToStream(stream);
    m_trailer->SetXrefAddress(m_xref->GetAddress());
    m_trailer->SetSize(m_xref->GetCount());
    m_trailer->WriteToStream(stream);
    return stream;
}

void PdfDoc::WriteToFile(const char* path) {
    // Checked first so that a missing document does not even touch the disk.
    RequireDocument();
    PdfFileStream file(path);
    WriteToStream(file);
    file.Commit();
}

void PdfDoc::FreeDocument(bool freeRegistry) {
    m_hasDocument = false;
    m_xref.reset();
    m_header.reset();
    m_trailer.reset();
    if (freeRegistry)
        m_registry.reset();
    m_catalog = nullptr;
    m_info = nullptr;
    m_rootPages = nullptr;
    m_currentPages = nullptr;
    m_currentPage = nullptr;
    m_minorVersion = kBaseMinorVersion;
}
