#include "pdf/PdfImageXObject.h"

#include "pdf/PdfException.h"
#include "pdf/PdfName.h"
#include "pdf/PdfScalars.h"

PdfImageXObject::PdfImageXObject(PdfXref* xref, int width, int height)
    : PdfFlateStream(xref), m_width(width), m_height(height) {
    if (width < 1 || height < 1)
        throw PdfException(PdfErrInvalid, "ERROR: PdfImageXObject invalid size(%d x %d).", width, height);
    SetTypeName("XObject");
    AddElement("Subtype", new PdfName("Image"));
    AddElement("Width", new PdfNumber(width));
    AddElement("Height", new PdfNumber(height));
    AddElement("ColorSpace", new PdfName("DeviceRGB"));
    AddElement("BitsPerComponent", new PdfNumber(8));
    AddElement("Length", new PdfNumber(0));
}

void PdfImageXObject::SetPixels(const uint8_t* rgb, size_t length) {
    if (!rgb || length != size_t(m_width) * size_t(m_height) * 3)
        throw PdfException(PdfErrInvalid, "ERROR: PdfImageXObject %lld bytes for %d x %d pixels.",
                           static_cast<long long>(length), m_width, m_height);
    SetData(rgb, length);
}
