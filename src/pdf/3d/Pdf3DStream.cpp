#include "pdf/3d/Pdf3DStream.h"

#include <cstdio>
#include <memory>

#include "pdf/3d/Pdf3dEntries.h"
#include "pdf/3d/Pdf3dView.h"
#include "pdf/PdfArray.h"
#include "pdf/PdfFlate.h"
#include "pdf/PdfName.h"
#include "pdf/PdfScalars.h"
#include "runtime/platform/platform.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

Pdf3DStream::Pdf3DStream(PdfXref* xref) : PdfFlateStream(xref) {
    SetTypeName("3D");
    AddElement("Subtype", new PdfName("U3D"));
    AddElement("Length", new PdfNumber(0));
}

bool Pdf3DStream::LoadFromFile(const char* path) {
    PdfMemStream& data = BeginData();
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
    PdfFlate flate(data, kBufferSize);
    char buffer[kReadSize];
    size_t read;
    while ((read = std::fread(buffer, 1, sizeof(buffer), file.get())) == sizeof(buffer))
        flate.Compress(buffer, kReadSize);
    // A read error would leave a truncated model that looks complete.
    if (std::ferror(file.get())) {
        DropData();
        return false;
    }
    flate.Finish(buffer, static_cast<int>(read));
    EndData();
    return true;
}

void Pdf3DStream::AddView(Pdf3dView* view) {
    Pdf3dEntry<PdfArray>(*this, "VA", [&] { return new PdfArray(GetXref()); })->Add(view);
}

void Pdf3DStream::SetDefaultView(int index) {
    Pdf3dEntry<PdfNumber>(*this, "DV", [] { return new PdfNumber(0); })->SetValue(index);
}
