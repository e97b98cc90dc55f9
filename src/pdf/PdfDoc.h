// The document: its fixed skeleton, its pages and its output.
#pragma once

#include <memory>

class PdfAutoPtrMgr;
class PdfAutoPtrObject;
class PdfCatalog;
class PdfHeader;
class PdfInfo;
class PdfPage;
class PdfPages;
class PdfStreamBase;
class PdfTrailer;
class PdfXref;

// Usage: CreateDocument, AddPage and fill the pages, WriteToFile. Objects 1,
// 2 and 3 are always the catalog, the page-tree root and the information
// dictionary; every later object takes the next id as it is registered.
class PdfDoc {
public:
    PdfDoc();
    ~PdfDoc();
    PdfDoc(const PdfDoc&) = delete;
    PdfDoc& operator=(const PdfDoc&) = delete;

    // Drops any previous document (the registry stays) and builds catalog,
    // page-tree root and information dictionary.
    void CreateDocument();
    // Appends a page to the current page-tree node; null without document.
    PdfPage* AddPage();
    // The information dictionary, created on first call; null without
    // document.
    PdfInfo* GetInfo();
    // Makes the header name at least PDF 1.minor: "%PDF-1.2" unless some
    // part of the document needs a later version.
    void RequireVersion(int minor) { m_minorVersion = minor > m_minorVersion ? minor : m_minorVersion; }
    // Makes the header read "%PDF-1.6" (3D annotations need it).
    void RequirePdf16() { RequireVersion(6); }
    // Keeps object alive as long as the document (see PdfAutoPtrMgr).
    void RegisterObject(PdfAutoPtrObject* object);

    // Writes the whole file; -5 without document.
    PdfStreamBase& WriteToStream(PdfStreamBase& stream);
    // Writes the file at path. Only a complete document reaches the path:
    // on failure nothing is left there and a file already there is kept.
    void WriteToFile(const char* path);
    // Destroys every object of the document; the registry only when asked.
    void FreeDocument(bool freeRegistry);

    bool HasDocument() const { return m_hasDocument; }
    bool IsPdf16() const { return m_minorVersion >= 6; }
    int GetMinorVersion() const { return m_minorVersion; }
    PdfXref* GetXref() const { return m_xref.get(); }
    PdfCatalog* GetCatalog() const { return m_catalog; }
    PdfPages* GetRootPages() const { return m_rootPages; }
    PdfPages* GetCurrentPages() const { return m_currentPages; }
    PdfPage* GetCurrentPage() const { return m_currentPage; }
    // Called by the page tree when it adds a page.
    void SetCurrentPage(PdfPages* node, PdfPage* page);

private:
    void RequireDocument() const;

    std::unique_ptr<PdfXref> m_xref;
    std::unique_ptr<PdfHeader> m_header;
    std::unique_ptr<PdfTrailer> m_trailer;
    PdfCatalog* m_catalog = nullptr;    // owned by m_xref
    PdfInfo* m_info = nullptr;          // owned by m_xref
    std::unique_ptr<PdfAutoPtrMgr> m_registry;
    PdfPages* m_rootPages = nullptr;    // owned by m_xref
    PdfPages* m_currentPages = nullptr;
    PdfPage* m_currentPage = nullptr;
    bool m_hasDocument = false;
    // The header's version, 1.2 to begin with.
    static constexpr int kBaseMinorVersion = 2;
    int m_minorVersion = kBaseMinorVersion;
};
