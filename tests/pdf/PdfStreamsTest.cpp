#include <gtest/gtest.h>
#include <zlib.h>

#include <cerrno>
#include <string>
#include <vector>

#include "PdfTestSupport.h"
#include "pdf/PdfMemStream.h"
#include "pdf/PdfScalars.h"
#include "pdf/PdfStream.h"
#include "pdf/PdfXref.h"

namespace {

std::string Pattern(size_t length) {
    std::string data(length, '\0');
    uint32_t state = 12345;
    for (size_t i = 0; i < length; ++i) {
        state = state * 1103515245u + 12345u;
        // Half random, half repetitive, so that zlib has work on both kinds.
        data[i] = (i / 4096) % 2 ? static_cast<char>(state >> 24) : static_cast<char>('a' + i % 7);
    }
    return data;
}

std::string Inflate(const std::string& compressed) {
    z_stream zs{};
    EXPECT_EQ(inflateInit(&zs), Z_OK);
    std::string out;
    std::vector<unsigned char> buffer(65536);
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
    zs.avail_in = static_cast<uInt>(compressed.size());
    int result;
    do {
        zs.next_out = buffer.data();
        zs.avail_out = static_cast<uInt>(buffer.size());
        result = inflate(&zs, Z_NO_FLUSH);
        out.append(reinterpret_cast<char*>(buffer.data()), buffer.size() - zs.avail_out);
    } while (result == Z_OK);
    EXPECT_EQ(result, Z_STREAM_END);
    EXPECT_EQ(zs.avail_in, 0u);  // nothing after the zlib trailer
    inflateEnd(&zs);
    return out;
}

std::string CompressedByZlib(const std::string& data) {
    uLongf length = compressBound(static_cast<uLong>(data.size()));
    std::string out(length, '\0');
    EXPECT_EQ(compress2(reinterpret_cast<Bytef*>(out.data()), &length,
                        reinterpret_cast<const Bytef*>(data.data()), static_cast<uLong>(data.size()),
                        Z_DEFAULT_COMPRESSION),
              Z_OK);
    out.resize(length);
    return out;
}

}  // namespace

TEST(PdfMemStreamTest, BlocksAtTheBoundaries) {
    PdfMemStream stream;
    EXPECT_EQ(stream.GetSize(), 0);
    EXPECT_EQ(stream.GetBlockCount(), 0);
    std::string data = Pattern(2500);

    stream.Write(data.data(), 1024);
    EXPECT_EQ(stream.GetBlockCount(), 1);
    EXPECT_EQ(stream.GetUsed(), 1024);
    stream.Write(data.data() + 1024, 1);
    EXPECT_EQ(stream.GetBlockCount(), 2);
    EXPECT_EQ(stream.GetUsed(), 1);
    stream.Write(data.data() + 1025, 1475);
    EXPECT_EQ(stream.GetBlockCount(), 3);
    EXPECT_EQ(stream.GetUsed(), 452);
    EXPECT_EQ(stream.GetSize(), 2500);
    StringSink copy;
    EXPECT_EQ(stream.WriteToStream(copy), 2500);
    EXPECT_EQ(copy.data, data);

    stream.FreeData();
    EXPECT_EQ(stream.GetSize(), 0);
    EXPECT_EQ(stream.GetBlockCount(), 0);
    // A zero-byte write still opens the first block.
    stream.Write("", 0);
    EXPECT_EQ(stream.GetBlockCount(), 1);
    EXPECT_EQ(stream.GetUsed(), 0);

    // One write that spans many blocks, in a stream of odd block size.
    PdfMemStream small(7);
    small.Write(data.data(), 2500);
    EXPECT_EQ(small.GetBlockCount(), 358);
    EXPECT_EQ(small.GetUsed(), 1);
    StringSink smallCopy;
    small.WriteToStream(smallCopy);
    EXPECT_EQ(smallCopy.data, data);
    EXPECT_EQ(CatchPdf([] { PdfMemStream bad(0); }),
              PdfError(-5, "ERROR: PdfMemStream invalid block size(0)."));
}

TEST(PdfMemStreamTest, EmptyStreamsCopyAndCompress) {
    const std::string emptyZlib("\x78\x9C\x03\x00\x00\x00\x00\x01", 8);
    PdfMemStream never;
    StringSink plain, deflated;
    EXPECT_EQ(never.WriteToStream(plain), 0);
    EXPECT_EQ(plain.data, "");
    EXPECT_EQ(never.WriteToStreamDeflate(deflated), 8);
    EXPECT_EQ(deflated.data, emptyZlib);

    PdfMemStream zeroWrite;
    zeroWrite.Write(nullptr, 0);
    StringSink zeroDeflated;
    EXPECT_EQ(zeroWrite.WriteToStreamDeflate(zeroDeflated), 8);
    EXPECT_EQ(zeroDeflated.data, emptyZlib);
}

TEST(PdfMemStreamTest, CompressedCopyInflatesBack) {
    for (size_t size : {size_t{1}, size_t{1023}, size_t{1024}, size_t{1025}, size_t{2048},
                        size_t{3} << 20}) {
        SCOPED_TRACE(size);
        std::string data = Pattern(size);
        PdfMemStream stream;
        // Written in uneven pieces: block boundaries must not show.
        for (size_t done = 0; done < size;) {
            size_t piece = std::min<size_t>(size - done, 1000 + done % 777);
            stream.Write(data.data() + done, piece);
            done += piece;
        }
        StringSink out;
        int64_t compressed = stream.WriteToStreamDeflate(out);
        EXPECT_EQ(compressed, static_cast<int64_t>(out.data.size()));
        EXPECT_EQ(out.GetSize(), compressed);
        EXPECT_EQ(Inflate(out.data), data);
        // Same settings as zlib's own default compression, hence same bytes.
        EXPECT_EQ(out.data, CompressedByZlib(data));
    }
}

TEST(PdfStreamTest, DataLengthAndFilter) {
    PdfXref xref;
    auto* stream = new PdfStream(&xref);
    EXPECT_EQ(static_cast<int>(stream->GetType()), 9);
    xref.AddObject(stream);
    EXPECT_EQ(Written(*stream), "<<\r\n>>");  // no data: dictionary only

    PdfMemStream* data = stream->GetStream();
    EXPECT_EQ(data, stream->GetStream());
    EXPECT_EQ(Written(*stream->GetElement("Filter")), "[]");
    *data << "1 1 1 rg\n0 0 793 612 re\nf\n";
    // No Length yet: one is registered right after the stream.
    StringSink out;
    stream->WriteToStream(out);
    EXPECT_EQ(out.data,
              "<<\r\n/Length 2 0 R\r\n>>\r\nstream\r\n1 1 1 rg\n0 0 793 612 re\nf\n\r\nendstream");
    auto* length = static_cast<PdfNumber*>(xref.GetObject(2));
    ASSERT_NE(length, nullptr);
    EXPECT_EQ(length->GetValue(), 26);
    // The same Length is kept on the next write.
    stream->WriteToStream(out);
    EXPECT_EQ(xref.GetCount(), 3);

    // A direct Length, or one numbered before the stream, is replaced.
    auto* early = new PdfNumber(0);
    xref.AddObject(early);
    auto* late = new PdfStream(&xref);
    xref.AddObject(late);
    late->AddElement("Length", early);
    *late->GetStream() << "abc";
    EXPECT_EQ(Written(*late), "<<\r\n/Length 5 0 R\r\n>>\r\nstream\r\nabc\r\nendstream");
    late->AddElement("Length", new PdfNumber(3));
    EXPECT_EQ(Written(*late), "<<\r\n/Length 6 0 R\r\n>>\r\nstream\r\nabc\r\nendstream");

    // Emptied data: back to the dictionary alone, Length and Filter gone.
    late->GetStream()->FreeData();
    EXPECT_EQ(Written(*late), "<<\r\n>>");

    PdfStream unbound(nullptr);
    *unbound.GetStream() << "x";
    EXPECT_EQ(CatchPdf([&] { Written(unbound); }),
              PdfError(-5, "ERROR: PdfStream::WriteToStream Length needs a cross-reference table."));
}
