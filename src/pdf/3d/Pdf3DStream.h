// The stream object that embeds a U3D model (/Type /3D /Subtype /U3D).
#pragma once

#include "pdf/PdfFlateStream.h"

class Pdf3dView;

// Compresses the model's bytes with Flate while they are read (see
// PdfFlateStream): a model waits in memory at its compressed size.
class Pdf3DStream : public PdfFlateStream {
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

    // The named views a viewer offers in its list of views (ISO 32000-1,
    // 13.6.3, Table 300: VA, an array of 3D view dictionaries, in the order
    // the viewer lists them), added after Length on first call. The view is
    // appended to VA and owned by it.
    void AddView(Pdf3dView* view);
    // DV, the view shown first: an index into VA (Table 300), added after VA.
    void SetDefaultView(int index);
};
