#include "pdf/PdfFlateStream.h"

#include <algorithm>

#include "pdf/PdfFlate.h"
#include "pdf/PdfName.h"
#include "pdf/PdfScalars.h"

namespace {

// zlib takes its input length as an int.
constexpr size_t kPiece = size_t(1) << 20;

}  // namespace

PdfMemStream& PdfFlateStream::BeginData() {
    PdfMemStream& data = *GetStream();
    data.FreeData();
    m_compressed = false;
    return data;
}

void PdfFlateStream::DropData() {
    GetStream()->FreeData();
    m_compressed = false;
}

void PdfFlateStream::SetData(const void* bytes, size_t length) {
    PdfFlate flate(BeginData(), kBufferSize);
    const char* next = static_cast<const char*>(bytes);
    while (length > kPiece) {
        flate.Compress(next, static_cast<int>(kPiece));
        next += kPiece;
        length -= kPiece;
    }
    flate.Finish(next, static_cast<int>(length));
    EndData();
}

void PdfFlateStream::WriteToStream(PdfStreamBase& out) {
    PdfMemStream& data = *GetStream();
    if (!m_compressed) {
        // Never given, or a load failed: write the compressed form of
        // nothing rather than whatever a failed load left behind.
        data.FreeData();
        PdfFlate(data, kBufferSize).Finish(nullptr, 0);
        m_compressed = true;
    }
    // Replaces the empty Filter array that GetStream adds; still the last key.
    AddElement("Filter", new PdfName("FlateDecode"));
    const int64_t length = data.GetSize();
    auto* number = dynamic_cast<PdfNumber*>(GetElement("Length"));
    if (number && number->GetClass() == PdfObjectClass::Direct) {
        number->SetValue(length);
    } else {
        AddElement("Length", new PdfNumber(length));
    }
    WriteWithData(out, data);
}
