// A page's content stream: drawing operators as PDF content text.
#pragma once

#include "pdf/PdfStream.h"

class PdfPage;

// Where the content stream stands between operators; each operator is only
// valid in some of these, so that the operators written always form a valid
// sequence (no paint without a path, no colour change inside one).
enum PdfGraphicsMode {
    PdfPageDescription = 0,  // outside any path or text object
    PdfPathObject = 1,       // a path is being built and not yet painted
    PdfTextObject = 2,       // inside a text object
    PdfClippingPath = 3,     // a clipping path was set and awaits painting
};

// Created by PdfPage::GetContents and owned by the table. Operands are
// written by the stream's real writer; operators end in a bare line feed.
// An operator refused in the current mode writes nothing and changes
// nothing (-5).
class PdfContents : public PdfStream {
public:
    explicit PdfContents(PdfPage& page);
    ~PdfContents() override = default;

    // Registers the stream, makes it the page's Contents and registers its
    // Length right after it, so the Length always takes the next id. The
    // table owns the stream from this call on, also when it fails.
    void Init();

    // Fill colour with components from 0 to 1 ("r g b rg"); -6 outside.
    PdfContents& SetRGBFill(double red, double green, double blue);
    // The same on the 0 to 255 scale.
    PdfContents& SetRGBFill(int red, int green, int blue);
    // Appends a rectangle to the path ("x y w h re").
    PdfContents& Rectangle(double x, double y, double width, double height);
    // Paints the path with the fill colour ("f").
    PdfContents& Fill();

    PdfPage& GetPage() const { return m_page; }
    PdfGraphicsMode GetGraphicsMode() const { return m_mode; }
    double GetCurrentX() const { return m_x; }
    double GetCurrentY() const { return m_y; }
    double GetFillRed() const { return m_fillRed; }
    double GetFillGreen() const { return m_fillGreen; }
    double GetFillBlue() const { return m_fillBlue; }

private:
    // -5 naming the operator unless the mode is one of the allowed ones.
    void RequireMode(const char* op, PdfGraphicsMode a, PdfGraphicsMode b) const;

    PdfPage& m_page;
    double m_x = 0;
    double m_y = 0;
    PdfGraphicsMode m_mode = PdfPageDescription;
    double m_fillRed = 0;
    double m_fillGreen = 0;
    double m_fillBlue = 0;
};
