#include "pdf/3d/Pdf3dAnnotActivation.h"

#include "pdf/3d/Pdf3dEntries.h"
#include "pdf/3d/Pdf3dNames.h"

namespace {
const char kDefaultMode[] = "XA";
const char kDefaultState[] = "U";
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
