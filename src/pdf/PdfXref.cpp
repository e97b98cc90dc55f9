#include "pdf/PdfXref.h"

#include <cstdio>

#include "pdf/PdfException.h"
#include "pdf/PdfStreamBase.h"

PdfXref::PdfXref(PdfDoc* doc) : m_doc(doc) {}

PdfXref::~PdfXref() {
    if (!m_entries)
        return;
    for (int i = 0; i < m_entries->GetCount(); ++i)
        delete m_entries->ItemAt(i);
}

void PdfXref::Init() {
    if (m_entries)
        return;
    m_entries = std::make_unique<PdfPtrListOf<PdfXrefEntry>>(20);
    auto head = std::make_unique<PdfXrefEntry>('f', 65535, nullptr);
    if (!m_entries->Add(head.get()))
        throw PdfException(PdfErrTableGrowth, "PdfXref::Init()");
    head.release();
}

int PdfXref::AddObject(PdfObject* object) {
    // Two owners would delete the object twice, and a reference has no
    // value to write; both are refused without touching the object.
    if (!object || object->GetId() != 0 || object->GetClass() != PdfObjectClass::Direct)
        throw PdfException(PdfErrInvalid, "ERROR: PdfXref::AddObject object(id=%d) is owned already.",
                           object ? object->GetId() : 0);
    std::unique_ptr<PdfObject> owned(object);
    Init();
    int generation = object->GetGeneration();
    auto entry = std::make_unique<PdfXrefEntry>('n', generation, std::move(owned));
    if (!m_entries->Add(entry.get()))
        throw PdfException(PdfErrTableGrowth, "PdfXref::AddObject");
    entry.release();
    int id = m_entries->GetCount() - 1;
    object->SetId(id);
    return id;
}

PdfObject* PdfXref::GetObject(int id) const {
    PdfXrefEntry* entry = m_entries ? m_entries->ItemAt(id) : nullptr;
    return entry ? entry->GetObject() : nullptr;
}

void PdfXref::WriteToStream(PdfStreamBase& stream) {
    Init();
    // The count is read on every pass: writing a stream may register its
    // Length object, which must be written too.
    for (int i = 1; i < m_entries->GetCount(); ++i) {
        PdfXrefEntry* entry = m_entries->ItemAt(i);
        int64_t offset = stream.GetSize();
        if (offset > kMaxOffset)
            throw PdfException(PdfErrRange,
                               "ERROR: PdfXref::WriteToStream offset %lld of object %d does not fit the table.",
                               static_cast<long long>(offset), i);
        entry->SetOffset(offset);
        entry->GetObject()->WriteObject(stream);
    }
    m_address = stream.GetSize();
    stream << "xref\r\n0 " << static_cast<unsigned>(m_entries->GetCount()) << "\r\n";
    for (int i = 0; i < m_entries->GetCount(); ++i)
        WriteEntryLine(stream, *m_entries->ItemAt(i));
}

void PdfXref::WriteEntryLine(PdfStreamBase& stream, const PdfXrefEntry& entry) {
    char line[24];
    int length = std::snprintf(line, sizeof(line), "%010lld %05d %c\r\n",
                               static_cast<long long>(entry.GetOffset()), entry.GetGeneration(),
                               entry.GetType());
    stream.Write(line, static_cast<size_t>(length));
}
