// Image XObjects (ISO 32000-1, 8.9.5, Table 89): a raster image that
// content streams paint with "Do".
#pragma once

#include "pdf/PdfFlateStream.h"

#include <cstddef>
#include <cstdint>

// An 8-bit RGB image (/ColorSpace /DeviceRGB, /BitsPerComponent 8), its
// samples Flate-compressed as they are given. The image fills the unit
// square of the space it is painted in, its first row at the top.
class PdfImageXObject : public PdfFlateStream {
public:
    // Type "XObject", Subtype "Image", Width, Height, ColorSpace,
    // BitsPerComponent and Length 0. -5 unless both sides are at least 1.
    PdfImageXObject(PdfXref* xref, int width, int height);
    ~PdfImageXObject() override = default;

    // The samples, three bytes a pixel, rows from top to bottom: exactly
    // width x height x 3 bytes, else -5 and no change.
    void SetPixels(const uint8_t* rgb, size_t length);

    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }

private:
    int m_width;
    int m_height;
};
