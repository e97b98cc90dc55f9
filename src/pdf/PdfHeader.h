// The first two lines of a PDF file.
#pragma once

class PdfStreamBase;

// "%PDF-1.2" (or a later version, "%PDF-1.6" when a 3D annotation needs it)
// and a comment of four high bytes that marks the file as binary for
// transfer programs.
class PdfHeader {
public:
    // minorVersion from 0 to 9.
    void WriteToStream(PdfStreamBase& stream, int minorVersion) const;
};
