#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "Pdf3dTestSupport.h"
#include "pdf/3d/Pdf3DStream.h"
#include "pdf/PdfXref.h"

namespace {

struct Pdf3DStreamTest : ::testing::Test {
    void SetUp() override { xref.AddObject(stream); }
    // The written stream must be exactly this frame around its data.
    std::string Framed(const std::string& data) {
        return "<<\r\n/Type /3D\r\n/Subtype /U3D\r\n/Length " + std::to_string(data.size()) +
               "\r\n/Filter /FlateDecode\r\n>>\r\nstream\r\n" + data + "\r\nendstream";
    }
    // The data between "stream" and "endstream".
    std::string WrittenData() {
        std::string text = Written(*stream);
        size_t start = text.find("stream\r\n") + 8;
        return text.substr(start, text.size() - start - 11);
    }
    scratchDirS dir{"pdf3d"};
    PdfXref xref;
    Pdf3DStream* stream = new Pdf3DStream(&xref);
};

}  // namespace

TEST_F(Pdf3DStreamTest, EmptyMissingAndUnreadableFilesCompressAsNothing) {
    EXPECT_EQ(Written(*stream), Framed(kCompressedNothing));  // never loaded
    std::ofstream(dir / "empty.u3d");
    EXPECT_TRUE(stream->LoadFromFile((dir / "empty.u3d").string().c_str()));
    EXPECT_EQ(Written(*stream), Framed(kCompressedNothing));  // Length 8

    ASSERT_TRUE(stream->LoadFromFile(testData("box.u3d").string().c_str()));
    EXPECT_FALSE(stream->LoadFromFile((dir / "missing.u3d").string().c_str()));
    EXPECT_EQ(Written(*stream), Framed(kCompressedNothing));
    // A directory opens but cannot be read: no truncated model passes as a
    // complete one.
    ASSERT_TRUE(stream->LoadFromFile(testData("box.u3d").string().c_str()));
    EXPECT_FALSE(stream->LoadFromFile(dir.path.string().c_str()));
    EXPECT_EQ(Written(*stream), Framed(kCompressedNothing));
}

TEST_F(Pdf3DStreamTest, FilesAreCopiedWholeAndWaitCompressed) {
    std::string exact;
    for (int i = 0; i < 2048; ++i)
        exact += static_cast<char>(i * 131 % 251);
    std::ofstream((dir / "exact.u3d").string(), std::ios::binary) << exact;
    ASSERT_TRUE(stream->LoadFromFile((dir / "exact.u3d").string().c_str()));
    // Between loading and writing only the compressed form is held, and it
    // is byte for byte what one-call compression of the whole file gives.
    EXPECT_EQ(stream->GetStream()->GetSize(), static_cast<int64_t>(Compress2(exact).size()));
    std::string compressed = WrittenData();
    EXPECT_EQ(compressed, Compress2(exact));
    EXPECT_EQ(Written(*stream), Framed(compressed));
    EXPECT_EQ(Written(*stream), Framed(compressed));  // writing twice writes the same

    // Loading again replaces the data.
    const std::string model = readFile(testData("sphere_shading.u3d").string());
    ASSERT_TRUE(stream->LoadFromFile(testData("sphere_shading.u3d").string().c_str()));
    EXPECT_EQ(stream->GetStream()->GetSize(), static_cast<int64_t>(Compress2(model).size()));
    EXPECT_TRUE(WrittenData() == Compress2(model));
    EXPECT_TRUE(Inflate(WrittenData()) == model);
}
