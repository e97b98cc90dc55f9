#include "pdf/PdfAutoPtrMgr.h"

#include "pdf/PdfException.h"

PdfAutoPtrMgr::~PdfAutoPtrMgr() {
    if (!m_objects)
        return;
    for (int i = 0; i < m_objects->GetCount(); ++i) {
        PdfAutoPtrObject* object = m_objects->ItemAt(i);
        object->m_owner = nullptr;
        delete object;
    }
}

void PdfAutoPtrMgr::RegisterObject(PdfAutoPtrObject* object) {
    if (!object || object->m_owner == this)
        return;
    if (object->m_owner)
        throw new PdfException(PdfErrInvalid,
                               "ERROR:PdfAutoPtrMgr::RegisterObject this object owned by other object.");
    if (!m_objects)
        m_objects = std::make_unique<PdfPtrListOf<PdfAutoPtrObject>>(20);
    if (!m_objects->Add(object)) {
        delete object;
        throw new PdfException(PdfErrInvalid, "ERROR: PdfAutoPtrMgr::RegisterObject cannot register object.");
    }
    object->m_owner = this;
    object->OnRegistered();
}
