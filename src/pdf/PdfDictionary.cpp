#include "pdf/PdfDictionary.h"

#include "pdf/PdfContainerItem.h"
#include "pdf/PdfException.h"
#include "pdf/PdfStreamBase.h"

PdfDictionary::PdfDictionary(PdfXref* xref) : m_xref(xref) {}

PdfDictionary::~PdfDictionary() {
    for (int i = m_elements.GetCount() - 1; i >= 0; --i)
        delete m_elements.ItemAt(i);
}

void PdfDictionary::AddElement(const char* key, PdfObject* object) {
    if (!object)
        return;
    if (GetCount() >= kMaxElements) {
        pdf_container::DiscardRefused(object);
        throw PdfException(PdfErrInvalid,
                           "ERROR: PdfDictionary::AddElement --number of items is over [%d].\n",
                           kMaxElements);
    }
    // Checked before the old value goes: re-adding the value a key already
    // holds (or any owned object) must fail without destroying anything.
    pdf_container::RequireUnowned(object, GetId());
    RemoveElement(key);
    std::unique_ptr<PdfObject> value(pdf_container::Adopt(object));
    auto element = std::make_unique<PdfDictElement>(key, std::move(value));
    if (!m_elements.Add(element.get()))
        throw PdfException(PdfErrDictStorage, "ERROR: PdfDictionary::AddElement");
    element.release();
}

void PdfDictionary::RemoveElement(const char* key) {
    delete m_elements.RemoveAt(IndexOf(key));
}

PdfDictElement* PdfDictionary::FindElement(const char* key) const {
    return m_elements.ItemAt(IndexOf(key));
}

PdfObject* PdfDictionary::GetElement(const char* key) const {
    PdfDictElement* element = FindElement(key);
    return element ? pdf_container::Resolve(element->GetValue(), m_xref) : nullptr;
}

void PdfDictionary::SetTypeName(const char* name) { AddElement("Type", new PdfName(name)); }

int PdfDictionary::IndexOf(const char* key) const {
    for (int i = 0; i < m_elements.GetCount(); ++i)
        if (m_elements.ItemAt(i)->GetKey().EqualTo(key))
            return i;
    return -1;
}

void PdfDictionary::WriteToStream(PdfStreamBase& stream) {
    stream << "<<\r\n";
    for (int i = 0; i < m_elements.GetCount(); ++i) {
        PdfDictElement* element = m_elements.ItemAt(i);
        element->GetKey().WriteToStream(stream);
        stream << ' ';
        element->GetValue()->WriteToStream(stream);
        stream << "\r\n";
    }
    stream << ">>";
}
