// Streams whose data is Flate-compressed as it arrives (/Filter
// /FlateDecode) and whose Length is a direct number.
#pragma once

#include "pdf/PdfStream.h"

#include <cstddef>

class PdfFlate;

// Only the compressed form is kept, so that large data (a 3D model, a
// poster image) waits in memory at its compressed size and never next to an
// uncompressed copy of itself. The compressed size is known before the
// dictionary goes out, so Length is a direct number, unlike the indirect
// Length of other streams. Subclasses add Length (a number, 0 until written)
// where it belongs among their entries; Filter comes last.
class PdfFlateStream : public PdfStream {
public:
    explicit PdfFlateStream(PdfXref* xref) : PdfStream(xref) {}
    ~PdfFlateStream() override = default;

    // Replaces the data with the compressed form of these bytes.
    void SetData(const void* bytes, size_t length);
    // Filter /FlateDecode and the Length of the compressed data, then the
    // data. Data never given is written as the compressed form of nothing.
    void WriteToStream(PdfStreamBase& out) override;

protected:
    // Drops the data: what the next compressor writes replaces it.
    PdfMemStream& BeginData();
    // Compressors write into the data in pieces of this size.
    static constexpr int kBufferSize = PdfMemStream::kDefaultBlockSize;
    // The compressor has finished: the data is one complete zlib stream.
    void EndData() { m_compressed = true; }
    // Forgets a compressor's partial output.
    void DropData();

private:
    // Whether the data holds one complete zlib stream.
    bool m_compressed = false;
};
