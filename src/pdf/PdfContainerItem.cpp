#include "pdf/PdfContainerItem.h"

#include "pdf/PdfException.h"
#include "pdf/PdfScalars.h"
#include "pdf/PdfXref.h"

namespace pdf_container {

namespace {

bool IsHeldElsewhere(const PdfObject* object) {
    return object->GetClass() == PdfObjectClass::Direct && object->IsOwned();
}

}  // namespace

void RequireUnowned(const PdfObject* object, int containerId) {
    if (IsHeldElsewhere(object))
        throw PdfException(PdfErrInvalid, "this object(id=%d) is owned by another object.", containerId);
}

PdfObject* Adopt(PdfObject* object) {
    switch (object->GetClass()) {
    case PdfObjectClass::Indirect:
        return new PdfVirtualObject(object->GetId());
    case PdfObjectClass::Virtual:
        return object;
    case PdfObjectClass::Direct:
        break;
    }
    object->SetId(PdfObject::kOwnedId);
    return object;
}

void DiscardRefused(PdfObject* object) {
    if (object->GetClass() != PdfObjectClass::Indirect && !IsHeldElsewhere(object))
        delete object;
}

PdfObject* Resolve(PdfObject* item, const PdfXref* xref) {
    if (!item || item->GetClass() != PdfObjectClass::Virtual)
        return item;
    return xref ? xref->GetObject(item->GetId()) : nullptr;
}

}  // namespace pdf_container
