// The stream object that embeds a U3D model (/Type /3D /Subtype /U3D).
#pragma once

#include "pdf/PdfStream.h"

// Compresses the model's bytes with Flate while they are read and keeps only
// the compressed form until the document is written: a model waits in memory
// at its compressed size, never next to an uncompressed copy of itself. The
// compressed size is known before the dictionary goes out, so Length is a
// direct number here, unlike the indirect Length of other streams.
class Pdf3DStream : public PdfStream {
public:
    // U3D files are read in pieces of this size.
    static constexpr int kReadSize = 1024;
    // The file's own buffer, so that those pieces do not each cost a system
    // call's worth of stdio's default buffer.
    static constexpr size_t kFileBufferSize = 64 * 1024;

    // Adds Type "3D", Subtype "U3D" and Length 0.
    explicit Pdf3DStream(PdfXref* xref);
    ~Pdf3DStream() override = default;

    // Replaces the data with the compressed bytes of the file at path. False,
    // with no data, when the file cannot be opened or read to its end.
    bool LoadFromFile(const char* path);
    // Type, Subtype, Length and Filter /FlateDecode, then the compressed
    // data. Data never loaded is written as the compressed form of nothing.
    void WriteToStream(PdfStreamBase& out) override;

private:
    // Whether GetStream() holds one complete zlib stream.
    bool m_compressed = false;
};
