// Stream objects: a dictionary followed by "stream" data "endstream".
#pragma once

#include <cstdint>
#include <memory>

#include "pdf/PdfDictionary.h"
#include "pdf/PdfMemStream.h"

class PdfNumber;

// The data is gathered in a memory stream created on first request and is
// written unfiltered, with its Length as an indirect number that follows the
// stream in id order (the value is only known once the data is written).
class PdfStream : public PdfDictionary {
public:
    explicit PdfStream(PdfXref* xref);
    ~PdfStream() override;
    PdfObjectType GetType() const override { return PdfObjectType::Stream; }
    // Without data: the dictionary alone. With data: the dictionary with an
    // indirect Length and no Filter, then the data (-5 without a table to
    // register the Length in).
    void WriteToStream(PdfStreamBase& out) override;

    // The data; created (block size 1024) on first call, which also adds an
    // empty Filter array for subclasses to replace.
    PdfMemStream* GetStream();

protected:
    // The data, or null before the first GetStream.
    PdfMemStream* GetStreamIfAny() const { return m_stream.get(); }
    // Writes the dictionary as it stands, then "stream", the bytes of data
    // and "endstream"; returns the number of data bytes.
    int64_t WriteWithData(PdfStreamBase& out, const PdfMemStream& data);

private:
    // The Length number this stream may use: indirect and numbered after
    // the stream, registered anew when the present one is not.
    PdfNumber* IndirectLength();

    std::unique_ptr<PdfMemStream> m_stream;
};
