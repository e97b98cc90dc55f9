// The document information dictionary (object 3 of every document).
#pragma once

#include "pdf/PdfDictionary.h"

class PdfInfo : public PdfDictionary {
public:
    explicit PdfInfo(PdfXref* xref) : PdfDictionary(xref) {}
    ~PdfInfo() override = default;

    void SetProducer(const char* text);
};
