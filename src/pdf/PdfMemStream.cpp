#include "pdf/PdfMemStream.h"

#include <cstring>
#include <new>

#include "pdf/PdfException.h"
#include "pdf/PdfFlate.h"

PdfMemStream::PdfMemStream(int blockSize) : m_blockSize(blockSize) {
    if (blockSize < 1)
        throw PdfException(PdfErrInvalid, "ERROR: PdfMemStream invalid block size(%d).", blockSize);
}

PdfMemStream::~PdfMemStream() { FreeData(); }

void PdfMemStream::FreeData() {
    if (m_blocks) {
        for (int i = 0; i < m_blocks->GetCount(); ++i)
            delete[] m_blocks->ItemAt(i);
        m_blocks.reset();
    }
    m_used = 0;
    m_cursor = nullptr;
    ResetSize();
}

void PdfMemStream::AppendBlock() {
    std::unique_ptr<char[]> block(new char[static_cast<size_t>(m_blockSize)]);
    if (!m_blocks->Add(block.get()))
        throw std::bad_alloc();
    m_cursor = block.release();
    m_used = 0;
}

size_t PdfMemStream::WriteBytes(const void* bytes, size_t length) {
    // Even a write of no bytes creates the first block: a stream that was
    // written to, however little, is not the same as one never touched.
    if (!m_blocks) {
        m_blocks = std::make_unique<PdfPtrListOf<char>>(20);
        AppendBlock();
    }
    const char* source = static_cast<const char*>(bytes);
    size_t remaining = length;
    while (remaining > 0) {
        size_t room = static_cast<size_t>(m_blockSize - m_used);
        if (room < remaining) {
            std::memcpy(m_cursor, source, room);
            source += room;
            remaining -= room;
            m_used = m_blockSize;
            AppendBlock();
        } else {
            std::memcpy(m_cursor, source, remaining);
            m_cursor += remaining;
            m_used += static_cast<int>(remaining);
            remaining = 0;
        }
    }
    return length;
}

int PdfMemStream::BlockLength(int index) const {
    return index + 1 < GetBlockCount() ? m_blockSize : m_used;
}

int64_t PdfMemStream::WriteToStream(PdfStreamBase& out) const {
    int64_t written = 0;
    for (int i = 0; i < GetBlockCount(); ++i)
        written += static_cast<int64_t>(out.Write(m_blocks->ItemAt(i), static_cast<size_t>(BlockLength(i))));
    return written;
}

int64_t PdfMemStream::WriteToStreamDeflate(PdfStreamBase& out) const {
    PdfFlate flate(out, m_blockSize);
    int last = GetBlockCount() - 1;
    for (int i = 0; i < last; ++i)
        flate.Compress(m_blocks->ItemAt(i), m_blockSize);
    if (last >= 0)
        flate.Finish(m_blocks->ItemAt(last), m_used);
    else
        flate.Finish(nullptr, 0);
    return flate.GetWritten();
}
