#include "pdf/PdfHeader.h"

#include "pdf/PdfStreamBase.h"

void PdfHeader::WriteToStream(PdfStreamBase& stream, bool pdf16) const {
    stream << (pdf16 ? "%PDF-1.6\n" : "%PDF-1.2\n");
    static const unsigned char kBinaryMark[] = {'%', 0xB7, 0xBE, 0xAD, 0xAA, '\r', '\n'};
    stream.Write(kBinaryMark, sizeof(kBinaryMark));
}
