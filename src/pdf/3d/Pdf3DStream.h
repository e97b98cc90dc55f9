// The stream object that embeds a U3D model (/Type /3D /Subtype /U3D).
#pragma once

#include "pdf/PdfStream.h"

// Holds the model's bytes as loaded and writes them Flate-compressed. The
// compressed size is known before the dictionary goes out, so Length is a
// direct number here, unlike the indirect Length of other streams.
class Pdf3DStream : public PdfStream {
public:
    // U3D files are read in pieces of this size.
    static constexpr int kReadSize = 1024;

    // Adds Type "3D", Subtype "U3D" and Length 0.
    explicit Pdf3DStream(PdfXref* xref);
    ~Pdf3DStream() override = default;

    // Replaces the data with the bytes of the file at path. False, with no
    // data, when the file cannot be opened or read to its end.
    bool LoadFromFile(const char* path);
    // Type, Subtype, Length and Filter /FlateDecode, then the compressed
    // data. Data never loaded is written as the compressed form of nothing.
    void WriteToStream(PdfStreamBase& out) override;
};
