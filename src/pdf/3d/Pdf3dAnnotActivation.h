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

    // Whether a viewer shows its 3D toolbar when the annotation is activated
    // (TB) and its panel of views and of the model tree (NP): ISO 32000-1,
    // 13.6.2, Table 299. Both entries are absent unless set, which viewers
    // read as TB true and NP false. They are PDF 1.7 entries: setting one
    // makes the document a PDF 1.7 document.
    void SetToolbar(bool shown);
    void SetNavigationPanel(bool shown);
};
