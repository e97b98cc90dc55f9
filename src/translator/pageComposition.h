// The one page of every conversion: a white 793 x 612 landscape page with a
// single 3D annotation inset by 10 units, its activation, its default view
// and the embedded U3D data. By default only the camera (from the bounding
// box) and the U3D data depend on the request; its custom entries
// (conversionOptions.h) may add a poster as the annotation's appearance,
// change the view's settings, add named views and set the viewer's panels.
#pragma once

#include "translator/defaultCamera.h"

class PdfDoc;
struct conversionRequestS;

// Fixed settings of the page and its annotation.
inline constexpr int kPageWidth = 793;
inline constexpr int kPageHeight = 612;
inline constexpr int kAnnotationMargin = 10;

// Stage 1, before the document exists: the default view's camera for the
// request's box, aimed at the box's centre when the request asks for it.
defaultCameraS viewCamera(const conversionRequestS& request);

// Stage 2 fills a document fresh from CreateDocument: page, background,
// annotation, activation, view, the camera of stage 1, the poster when
// asked for, the U3D data and the named views. Throws PdfException when
// the PDF writer refuses a step, and conversionErrorC when the request
// names no U3D file, it cannot be read or a poster of it cannot be drawn:
// a PDF without its model, or without the poster asked for, is no
// conversion.
void composePage(PdfDoc& doc, const conversionRequestS& request, const defaultCameraS& camera);
