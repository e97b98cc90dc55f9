#include "pdf/PdfTrailer.h"

#include "pdf/PdfScalars.h"
#include "pdf/PdfStreamBase.h"

void PdfTrailer::SetSize(int size) { m_dictionary.AddElement("Size", new PdfNumber(size)); }

void PdfTrailer::WriteToStream(PdfStreamBase& stream) {
    stream << "trailer\r\n";
    m_dictionary.WriteToStream(stream);
    stream << "\r\nstartxref\r\n" << m_xrefAddress << "\r\n%%EOF\r\n";
}
