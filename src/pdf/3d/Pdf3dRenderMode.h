// The render mode dictionary of a 3D view (RM).
#pragma once

#include "pdf/PdfDictionary.h"

// Type "3DRenderMode" and the mode as Subtype, "Solid" at first.
class Pdf3dRenderMode : public PdfDictionary {
public:
    explicit Pdf3dRenderMode(PdfXref* xref);
    ~Pdf3dRenderMode() override = default;

    // Index into the render mode names; the empty name outside them.
    void SetMode(int mode);
    // -1 for a name outside the table.
    int GetMode();
};
