// The activation dictionary of a 3D annotation (3DA).
#pragma once

#include "pdf/PdfDictionary.h"

// When the 3D content comes to life (A) and the state it is left in when
// deactivated (DIS). Both are indexes into fixed name tables (Pdf3dNames.h);
// each entry is added with its default (A "XA", DIS "U") on first use.
class Pdf3dAnnotActivation : public PdfDictionary {
public:
    explicit Pdf3dAnnotActivation(PdfXref* xref) : PdfDictionary(xref) {}
    ~Pdf3dAnnotActivation() override = default;

    // Index of A's name; -1 for a name outside the table.
    int GetActivationMode();
    // An index outside the table stores the empty name.
    void SetActivationMode(int mode);
    int GetDeactivationState();
    void SetDeactivationState(int state);
};
