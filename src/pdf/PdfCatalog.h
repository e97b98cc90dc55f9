// The catalog (object 1 of every document): the root of the object graph.
#pragma once

#include "pdf/PdfDictionary.h"

// Viewer preference bits, each a boolean key of /ViewerPreferences.
enum PdfViewerPreference {
    PdfHideToolbar = 1,
    PdfHideMenubar = 2,
    PdfHideWindowUI = 4,
    PdfFitWindow = 8,
    PdfCenterWindow = 16,
};

// Display settings live in fields and are brought into the dictionary when
// the catalog is written, so a setting at its default (0 or none) writes no
// key at all.
class PdfCatalog : public PdfDictionary {
public:
    explicit PdfCatalog(PdfXref* xref) : PdfDictionary(xref) {}
    ~PdfCatalog() override = default;
    void WriteToStream(PdfStreamBase& stream) override;

    // Index 1..3 of (SinglePage, OneColumn, TwoColumnLeft, TwoColumnRight);
    // 0 is the viewer's default. -5 outside 0..3.
    void SetPageLayout(int index);
    // Index 1..3 of (UseNone, UseOutlines, UseThumbs, FullScreen); 0 is the
    // default. -5 outside 0..3.
    void SetPageMode(int index);
    void SetNonFullScreenPageMode(int index);
    // The catalog takes a direct action over; null removes it.
    void SetOpenAction(PdfObject* action);
    // An or-ed set of PdfViewerPreference bits.
    void SetViewerPreferences(int flags) { m_viewerPreferences = flags; }

private:
    void WriteViewerPreferences();

    int m_pageLayout = 0;
    int m_pageMode = 0;
    int m_nonFullScreenPageMode = 0;
    bool m_hasOpenAction = false;
    int m_viewerPreferences = 0;
};
