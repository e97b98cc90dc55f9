// The trailer: the dictionary that leads a reader to the catalog.
#pragma once

#include <cstdint>

#include "pdf/PdfDictionary.h"

class PdfStreamBase;

// Its dictionary is direct and never registered: it is written only here,
// after the cross-reference table. Root, Info and Size keep that order
// because re-adding a key moves it to the end.
class PdfTrailer {
public:
    explicit PdfTrailer(PdfXref* xref) : m_dictionary(xref) {}

    void SetRoot(PdfObject* catalog) { m_dictionary.AddElement("Root", catalog); }
    void SetInfo(PdfObject* info) { m_dictionary.AddElement("Info", info); }
    void SetSize(int size);
    void SetXrefAddress(int64_t address) { m_xrefAddress = address; }
    void WriteToStream(PdfStreamBase& stream);

    PdfDictionary& GetDictionary() { return m_dictionary; }

private:
    PdfDictionary m_dictionary;
    int64_t m_xrefAddress = 0;
};
