// Page objects (/Type /Page).
#pragma once

#include "pdf/PdfPageBase.h"

class PdfAnnotation;
class PdfContents;

// ProcSet names a page may declare in its resources, as bits.
enum PdfProcSet {
    PdfProcSetPDF = 2,
    PdfProcSetText = 4,
    PdfProcSetImageB = 8,
    PdfProcSetImageC = 16,
    PdfProcSetImageI = 32,
};

// A page is created by PdfPages::AddPage and owned by the table. Its
// dictionary reads Type, Parent, Resources, MediaBox, then whatever content
// and annotations add.
class PdfPage : public PdfPageBase {
public:
    // A new page is A4 portrait until SetSize changes it.
    static constexpr int kDefaultWidth = 596;
    static constexpr int kDefaultHeight = 842;

    explicit PdfPage(PdfXref& xref) : PdfPageBase(xref) {}
    ~PdfPage() override = default;
    int GetPageCount() override { return 1; }

    // Sets up a page that was just attached to parent.
    void InitPage(PdfPages* parent);

    // The inherited Resources dictionary; a page without one gets its own.
    PdfDictionary* GetResources();
    // Null removes Resources; anything but a dictionary is refused (-5) and
    // stays with the caller.
    void SetResources(PdfObject* resources);

    // key = [left bottom right top] as integers.
    void SetBox(const char* key, int left, int bottom, int right, int top);
    void SetMediaBox(int left, int bottom, int right, int top);
    // MediaBox [0 0 width height]; -5 when either is below 1.
    void SetSize(int width, int height);

    // Appends the names of the given PdfProcSet bits to the resources'
    // ProcSet array and records them; pass only bits not yet recorded.
    void AddProcSet(int flags);
    int GetProcSetFlags() const { return m_procSetFlags; }

    // The page's content stream, created and registered on first call (with
    // "PDF" in ProcSet); every later call returns the same one.
    PdfContents* GetContents();
    // Registers the annotation when it is not yet indirect and appends it to
    // Annots. The table owns it from this call on, also when it fails. Null
    // is ignored.
    void AddAnnotation(PdfAnnotation* annotation);

private:
    int m_procSetFlags = 0;
    PdfContents* m_contents = nullptr;  // owned by the table
};
