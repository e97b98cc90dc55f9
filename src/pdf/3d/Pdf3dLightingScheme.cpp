#include "pdf/3d/Pdf3dLightingScheme.h"

#include "pdf/3d/Pdf3dEntries.h"
#include "pdf/3d/Pdf3dNames.h"

namespace {
const char kDefaultScheme[] = "White";
}

Pdf3dLightingScheme::Pdf3dLightingScheme(PdfXref* xref) : PdfDictionary(xref) {
    SetTypeName("3DLightingScheme");
    AddElement("Subtype", new PdfName(kDefaultScheme));
}

void Pdf3dLightingScheme::SetScheme(int scheme) {
    Pdf3dNameEntry(*this, "Subtype", kDefaultScheme)->SetValue(Pdf3dNameFor(kPdf3dLightingSchemes, scheme));
}

int Pdf3dLightingScheme::GetScheme() {
    return Pdf3dIndexFor(kPdf3dLightingSchemes, Pdf3dNameEntry(*this, "Subtype", kDefaultScheme)->GetValue());
}
