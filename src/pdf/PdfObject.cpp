#include "pdf/PdfObject.h"

#include "pdf/PdfStreamBase.h"

void PdfObject::WriteObject(PdfStreamBase& stream) {
    if (GetClass() != PdfObjectClass::Indirect)
        return;
    stream << m_id << ' ' << static_cast<unsigned>(m_generation) << " obj\r\n";
    WriteToStream(stream);
    stream << "\r\nendobj\r\n";
}
