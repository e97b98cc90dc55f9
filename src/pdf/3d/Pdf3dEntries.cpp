#include "pdf/3d/Pdf3dEntries.h"

PdfName* Pdf3dNameEntry(PdfDictionary& dictionary, const char* key, const char* defaultName) {
    return Pdf3dEntry<PdfName>(dictionary, key, [&] { return new PdfName(defaultName); });
}
