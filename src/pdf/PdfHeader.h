// The first two lines of a PDF file.
#pragma once

class PdfStreamBase;

// "%PDF-1.2" (or "%PDF-1.6" when a 3D annotation needs it) and a comment of
// four high bytes that marks the file as binary for transfer programs.
class PdfHeader {
public:
    void WriteToStream(PdfStreamBase& stream, bool pdf16) const;
};
