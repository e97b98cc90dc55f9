// Output stream that collects its bytes in memory.
#pragma once

#include <memory>

#include "pdf/PdfPtrList.h"
#include "pdf/PdfStreamBase.h"

// Keeps the data in fixed-size blocks so that appending never moves what is
// already stored; all blocks but the last are full. Page contents and 3D data
// are gathered here and copied into the document, plain or Flate-compressed.
class PdfMemStream : public PdfStreamBase {
public:
    static constexpr int kDefaultBlockSize = 1024;

    // -5 for a block size below 1.
    explicit PdfMemStream(int blockSize = kDefaultBlockSize);
    ~PdfMemStream() override;

    // Copies the data into out; returns the number of bytes written.
    int64_t WriteToStream(PdfStreamBase& out) const;
    // Writes the data into out as one zlib stream (default level, suitable
    // for /FlateDecode); returns the number of compressed bytes. Data that
    // was never written compresses as the empty input.
    int64_t WriteToStreamDeflate(PdfStreamBase& out) const;
    // Drops all data; the next write starts a new first block.
    void FreeData();

    int GetBlockSize() const { return m_blockSize; }
    int GetBlockCount() const { return m_blocks ? m_blocks->GetCount() : 0; }
    // Bytes used in the last block.
    int GetUsed() const { return m_used; }

protected:
    size_t WriteBytes(const void* bytes, size_t length) override;

private:
    void AppendBlock();
    // Bytes of block `index` that hold data.
    int BlockLength(int index) const;

    std::unique_ptr<PdfPtrListOf<char>> m_blocks;
    int m_blockSize;
    int m_used = 0;
    char* m_cursor = nullptr;
};
