#include "pdf/PdfScalars.h"

#include "pdf/PdfStreamBase.h"

void PdfNumber::WriteToStream(PdfStreamBase& stream) { stream << m_value; }

void PdfReal::WriteToStream(PdfStreamBase& stream) { stream << m_value; }

void PdfBoolean::WriteToStream(PdfStreamBase& stream) { stream << (m_value ? "true" : "false"); }

void PdfVirtualObject::WriteToStream(PdfStreamBase& stream) {
    stream << GetId() << ' ' << static_cast<unsigned>(GetGeneration()) << " R";
}
