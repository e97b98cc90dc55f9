#include "pdf/PdfPageBase.h"

#include "pdf/PdfPages.h"
#include "pdf/PdfXref.h"

void PdfPageBase::Init() { Xref().AddObject(this); }

PdfObject* PdfPageBase::GetInheritableElement(const char* key) const {
    for (const PdfPageBase* node = this; node; node = node->m_parent)
        if (PdfObject* value = node->GetElement(key))
            return value;
    return nullptr;
}
