#include "pdf/3d/Pdf3dAnnotActivation.h"

#include "pdf/3d/Pdf3dEntries.h"
#include "pdf/3d/Pdf3dNames.h"
#include "pdf/PdfDoc.h"
#include "pdf/PdfScalars.h"
#include "pdf/PdfXref.h"

namespace {
const char kDefaultMode[] = "XA";
const char kDefaultState[] = "U";

void SetSwitch(Pdf3dAnnotActivation& activation, const char* key, bool value) {
    Pdf3dEntry<PdfBoolean>(activation, key, [] { return new PdfBoolean(); })->SetValue(value);
    if (PdfDoc* doc = activation.GetXref() ? activation.GetXref()->GetDoc() : nullptr)
        doc->RequireVersion(7);
}

}  // namespace

int Pdf3dAnnotActivation::GetActivationMode() {
    return Pdf3dIndexFor(kPdf3dActivationModes, Pdf3dNameEntry(*this, "A", kDefaultMode)->GetValue());
}

void Pdf3dAnnotActivation::SetActivationMode(int mode) {
    Pdf3dNameEntry(*this, "A", kDefaultMode)->SetValue(Pdf3dNameFor(kPdf3dActivationModes, mode));
}

int Pdf3dAnnotActivation::GetDeactivationState() {
    return Pdf3dIndexFor(kPdf3dDeactivationStates, Pdf3dNameEntry(*this, "DIS", kDefaultState)->GetValue());
}

void Pdf3dAnnotActivation::SetDeactivationState(int state) {
    Pdf3dNameEntry(*this, "DIS", kDefaultState)->SetValue(Pdf3dNameFor(kPdf3dDeactivationStates, state));
}

void Pdf3dAnnotActivation::SetToolbar(bool shown) { SetSwitch(*this, "TB", shown); }

void Pdf3dAnnotActivation::SetNavigationPanel(bool shown) { SetSwitch(*this, "NP", shown); }
