#include "pdf/PdfArray.h"

#include <cstdint>
#include <memory>
#include <new>

#include "pdf/PdfContainerItem.h"
#include "pdf/PdfException.h"
#include "pdf/PdfScalars.h"
#include "pdf/PdfStreamBase.h"

PdfArray::PdfArray(PdfXref* xref) : m_xref(xref) {}

PdfArray::~PdfArray() { Clear(); }

void PdfArray::Clear() {
    for (int i = m_items.GetCount() - 1; i >= 0; --i)
        delete m_items.ItemAt(i);
    m_items.Clear();
}

void PdfArray::Add(PdfObject* object) { Insert(object, GetCount()); }

void PdfArray::Insert(PdfObject* object, int index) {
    if (!object)
        return;
    if (GetCount() >= kMaxItems || index < 0 || index > GetCount()) {
        pdf_container::DiscardRefused(object);
        throw PdfException(PdfErrInvalid, "ERROR: PdfArray::Add --number of items is over [%d].\n",
                           kMaxItems);
    }
    pdf_container::RequireUnowned(object, GetId());
    std::unique_ptr<PdfObject> item(pdf_container::Adopt(object));
    if (!m_items.Insert(item.get(), index))
        throw std::bad_alloc();
    item.release();
}

PdfObject* PdfArray::GetItem(int index) const {
    PdfObject* item = m_items.ItemAt(index);
    if (item && item->GetClass() == PdfObjectClass::Indirect)
        throw PdfException(PdfErrRange, "ERROR: PdfArray::GetItem[%d] unknown object at[%llX]", index,
                           static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(item)));
    return pdf_container::Resolve(item, m_xref);
}

double PdfArray::GetItemAsReal(int index) const {
    PdfObject* item = GetItem(index);
    if (!item)
        return 0;
    if (item->GetType() == PdfObjectType::Real)
        return static_cast<PdfReal*>(item)->GetValue();
    if (item->GetType() == PdfObjectType::Number)
        return static_cast<double>(static_cast<PdfNumber*>(item)->GetValue());
    return 0;
}

void PdfArray::AddRect(double a, double b, double c, double d) {
    for (double value : {a, b, c, d})
        Add(new PdfReal(value));
}

void PdfArray::WriteToStream(PdfStreamBase& stream) {
    stream << '[';
    for (int i = 0; i < m_items.GetCount(); ++i) {
        m_items.ItemAt(i)->WriteToStream(stream);
        stream << ' ';
    }
    stream << ']';
}
