#include "pdf/PdfHeader.h"

#include "pdf/PdfStreamBase.h"

void PdfHeader::WriteToStream(PdfStreamBase& stream, int minorVersion) const {
    const char line[] = {'%', 'P', 'D', 'F', '-', '1', '.', char('0' + minorVersion % 10), '\n'};
    stream.Write(line, sizeof(line));
    static const unsigned char kBinaryMark[] = {'%', 0xB7, 0xBE, 0xAD, 0xAA, '\r', '\n'};
    stream.Write(kBinaryMark, sizeof(kBinaryMark));
}
