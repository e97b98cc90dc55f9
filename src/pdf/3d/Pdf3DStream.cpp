#include "pdf/3d/Pdf3DStream.h"

#include <cstdio>
#include <memory>

#include "pdf/PdfName.h"
#include "pdf/PdfScalars.h"

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
    std::unique_ptr<std::FILE, FileCloser> file(path ? std::fopen(path, "rb") : nullptr);
    if (!file)
        return false;
    // Even the empty read at the end is written: an empty file still
    // leaves a stream that was written to, whose compressed form is that of
    // no bytes.
    char buffer[kReadSize];
    size_t read;
    do {
        read = std::fread(buffer, 1, sizeof(buffer), file.get());
        data.Write(buffer, read);
    } while (read == sizeof(buffer));
    // A read error would leave a truncated model that looks complete.
    if (std::ferror(file.get())) {
        data.FreeData();
        return false;
    }
    return true;
}

void Pdf3DStream::WriteToStream(PdfStreamBase& out) {
    PdfMemStream compressed(PdfMemStream::kDefaultBlockSize);
    int64_t length = GetStream()->WriteToStreamDeflate(compressed);
    // Replaces the empty Filter array that GetStream adds; still the last key.
    AddElement("Filter", new PdfName("FlateDecode"));
    auto* number = dynamic_cast<PdfNumber*>(GetElement("Length"));
    if (number && number->GetClass() == PdfObjectClass::Direct) {
        number->SetValue(length);
    } else {
        AddElement("Length", new PdfNumber(length));
    }
    WriteWithData(out, compressed);
}
