#include "pdf/3d/Pdf3DStream.h"

#include <cstdio>
#include <memory>

#include "pdf/PdfFlate.h"
#include "pdf/PdfName.h"
#include "pdf/PdfScalars.h"
#include "runtime/platform/platform.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

Pdf3DStream::Pdf3DStream(PdfXref* xref) : PdfStream(xref) {
    SetTypeName("3D");
    AddElement("Subtype", new PdfName("U3D"));
    AddElement("Length", new PdfNumber(0));
}

bool Pdf3DStream::LoadFromFile(const char* path) {
    PdfMemStream& data = *GetStream();
    data.FreeData();
    m_compressed = false;
    std::unique_ptr<char[]> fileBuffer;  // declared first: the file closes before it goes
    std::unique_ptr<std::FILE, FileCloser> file(path ? platform::openForReading(path) : nullptr);
    if (!file)
        return false;
    fileBuffer.reset(new char[kFileBufferSize]);
    std::setvbuf(file.get(), fileBuffer.get(), _IOFBF, kFileBufferSize);
    // Deflate does not depend on how its input is cut into pieces, so
    // compressing each piece as it arrives gives the bytes that compressing
    // the whole model at write time would give. A short read is the last
    // piece, possibly empty: an empty file still becomes the compressed form
    // of no bytes.
    PdfFlate flate(data, PdfMemStream::kDefaultBlockSize);
    char buffer[kReadSize];
    size_t read;
    while ((read = std::fread(buffer, 1, sizeof(buffer), file.get())) == sizeof(buffer))
        flate.Compress(buffer, kReadSize);
    // A read error would leave a truncated model that looks complete.
    if (std::ferror(file.get())) {
        data.FreeData();
        return false;
    }
    flate.Finish(buffer, static_cast<int>(read));
    m_compressed = true;
    return true;
}

void Pdf3DStream::WriteToStream(PdfStreamBase& out) {
    PdfMemStream& data = *GetStream();
    if (!m_compressed) {
        // Never loaded, or the load failed: write the compressed form of
        // nothing rather than whatever a failed load left behind.
        data.FreeData();
        PdfFlate(data, PdfMemStream::kDefaultBlockSize).Finish(nullptr, 0);
        m_compressed = true;
    }
    // Replaces the empty Filter array that GetStream adds; still the last key.
    AddElement("Filter", new PdfName("FlateDecode"));
    int64_t length = data.GetSize();
    auto* number = dynamic_cast<PdfNumber*>(GetElement("Length"));
    if (number && number->GetClass() == PdfObjectClass::Direct) {
        number->SetValue(length);
    } else {
        AddElement("Length", new PdfNumber(length));
    }
    WriteWithData(out, data);
}
