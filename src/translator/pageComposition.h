// The one page of every conversion: a white 793 x 612 landscape page with a
// single 3D annotation inset by 10 units, its activation, its default view
// and the embedded U3D data. Only the camera (from the bounding box) and the
// U3D data depend on the request.
#pragma once

class PdfDoc;
class str;

// Fixed settings of the page and its annotation.
inline constexpr int kPageWidth = 793;
inline constexpr int kPageHeight = 612;
inline constexpr int kAnnotationMargin = 10;

// Fills a document fresh from CreateDocument: page, background, annotation,
// activation, view, camera for a box of the given diagonal length, and the
// U3D data. Throws PdfException when the PDF writer refuses a step or when
// the U3D file cannot be read: a PDF without its model is no conversion.
void composePage(PdfDoc& doc, const str& u3dPath, double boxDiagonal);
