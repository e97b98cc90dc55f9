#include "pdf/PdfContents.h"

#include "pdf/PdfException.h"
#include "pdf/PdfPage.h"
#include "pdf/PdfScalars.h"
#include "pdf/PdfXref.h"

PdfContents::PdfContents(PdfPage& page) : PdfStream(page.GetXref()), m_page(page) {}

void PdfContents::Init() {
    // The page is indirect, so its table is always there.
    PdfXref& xref = *GetXref();
    xref.AddObject(this);
    m_page.AddElement("Contents", this);
    auto* length = new PdfNumber(0);
    xref.AddObject(length);
    AddElement("Length", length);
}

void PdfContents::RequireMode(const char* op, PdfGraphicsMode a, PdfGraphicsMode b) const {
    if (m_mode != a && m_mode != b)
        throw PdfException(PdfErrInvalid, "ERROR: %s invalid graphics mode(%d).", op, static_cast<int>(m_mode));
}

PdfContents& PdfContents::SetRGBFill(double red, double green, double blue) {
    RequireMode("SetRGBFill", PdfPageDescription, PdfTextObject);
    // Negated so that a NaN component is refused too.
    for (double v : {red, green, blue})
        if (!(v >= 0 && v <= 1))
            throw PdfException(PdfErrColour, "ERROR: SetRGBFill out of range(%f:%f:%f).", red, green,
                               blue);
    m_fillRed = red;
    m_fillGreen = green;
    m_fillBlue = blue;
    *GetStream() << red << ' ' << green << ' ' << blue << " rg\n";
    return *this;
}

PdfContents& PdfContents::SetRGBFill(int red, int green, int blue) {
    return SetRGBFill(red / 255.0, green / 255.0, blue / 255.0);
}

PdfContents& PdfContents::Rectangle(double x, double y, double width, double height) {
    RequireMode("Rectangle", PdfPageDescription, PdfPathObject);
    *GetStream() << x << ' ' << y << ' ' << width << ' ' << height << " re\n";
    m_x = x;
    m_y = y;
    m_mode = PdfPathObject;
    return *this;
}

PdfContents& PdfContents::Fill() {
    RequireMode("Fill", PdfPathObject, PdfClippingPath);
    *GetStream() << "f\n";
    m_mode = PdfPageDescription;
    return *this;
}
