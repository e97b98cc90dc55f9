#include "pdf/PdfStream.h"

#include "pdf/PdfArray.h"
#include "pdf/PdfException.h"
#include "pdf/PdfScalars.h"
#include "pdf/PdfXref.h"

PdfStream::PdfStream(PdfXref* xref) : PdfDictionary(xref) {}

// The memory stream goes first, then the dictionary (base destructor).
PdfStream::~PdfStream() { m_stream.reset(); }

PdfMemStream* PdfStream::GetStream() {
    if (!m_stream) {
        m_stream = std::make_unique<PdfMemStream>(PdfMemStream::kDefaultBlockSize);
        AddElement("Filter", new PdfArray(GetXref()));
    }
    return m_stream.get();
}

void PdfStream::WriteToStream(PdfStreamBase& out) {
    if (!m_stream || m_stream->GetSize() == 0) {
        RemoveElement("Length");
        RemoveElement("Filter");
        PdfDictionary::WriteToStream(out);
        return;
    }
    PdfNumber* length = IndirectLength();
    RemoveElement("Filter");
    length->SetValue(WriteWithData(out, *m_stream));
}

PdfNumber* PdfStream::IndirectLength() {
    PdfObject* length = GetElement("Length");
    if (length && length->GetType() == PdfObjectType::Number &&
        length->GetClass() == PdfObjectClass::Indirect && length->GetId() > GetId())
        return static_cast<PdfNumber*>(length);
    if (!GetXref())
        throw PdfException(PdfErrInvalid, "ERROR: PdfStream::WriteToStream Length needs a cross-reference table.");
    RemoveElement("Length");
    auto* number = new PdfNumber(0);
    GetXref()->AddObject(number);
    AddElement("Length", number);
    return number;
}

int64_t PdfStream::WriteWithData(PdfStreamBase& out, const PdfMemStream& data) {
    PdfDictionary::WriteToStream(out);
    out << "\r\nstream\r\n";
    int64_t written = data.WriteToStream(out);
    out << "\r\nendstream";
    return written;
}
