#include "pdf/3d/Pdf3dRenderMode.h"

#include "pdf/3d/Pdf3dEntries.h"
#include "pdf/3d/Pdf3dNames.h"

namespace {
const char kDefaultMode[] = "Solid";
}

Pdf3dRenderMode::Pdf3dRenderMode(PdfXref* xref) : PdfDictionary(xref) {
    SetTypeName("3DRenderMode");
    AddElement("Subtype", new PdfName(kDefaultMode));
}

void Pdf3dRenderMode::SetMode(int mode) {
    Pdf3dNameEntry(*this, "Subtype", kDefaultMode)->SetValue(Pdf3dNameFor(kPdf3dRenderModes, mode));
}

int Pdf3dRenderMode::GetMode() {
    return Pdf3dIndexFor(kPdf3dRenderModes, Pdf3dNameEntry(*this, "Subtype", kDefaultMode)->GetValue());
}
