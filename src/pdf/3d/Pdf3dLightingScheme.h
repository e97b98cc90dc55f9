// The lighting scheme dictionary of a 3D view (LS).
#pragma once

#include "pdf/PdfDictionary.h"

// Type "3DLightingScheme" and the scheme as Subtype, "White" at first.
class Pdf3dLightingScheme : public PdfDictionary {
public:
    explicit Pdf3dLightingScheme(PdfXref* xref);
    ~Pdf3dLightingScheme() override = default;

    // Index into the lighting scheme names; the empty name outside them.
    void SetScheme(int scheme);
    // -1 for a name outside the table.
    int GetScheme();
};
