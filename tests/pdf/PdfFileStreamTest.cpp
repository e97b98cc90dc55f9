#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/openErrors.h"
#include "PdfTestSupport.h"
#include "support/testFiles.h"
#include "pdf/PdfArray.h"
#include "pdf/PdfDoc.h"
#include "pdf/PdfFileStream.h"
#include "pdf/PdfInfo.h"
#include "pdf/PdfScalars.h"
#include "runtime/platform/platform.h"

namespace fs = std::filesystem;

namespace {

// A fresh directory per test, removed afterwards.
class PdfFileStreamTest : public ::testing::Test {
protected:
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir))
            names.push_back(entry.path().filename().string());
        return names;
    }

    const scratchDirS scratch{"pdf"};
    const fs::path dir = scratch.path;
};

}  // namespace

TEST_F(PdfFileStreamTest, CommitMovesTheFileIntoPlace) {
    fs::path target = dir / "out.pdf";
    // Where the file system offers files without a name, the temporary file
    // has none: a killed writer leaves nothing. Elsewhere it is one hidden
    // file beside the target.
    std::FILE* probe = platform::createUnnamedFile(dir.string().c_str());
    const size_t whileWriting = probe ? 0 : 1;
    if (probe)
        std::fclose(probe);
    {
        PdfFileStream stream(target.string().c_str());
        stream << "hello " << 42;
        EXPECT_EQ(stream.GetSize(), 8);
        EXPECT_FALSE(fs::exists(target));  // still in the temporary file
        ASSERT_EQ(Entries().size(), whileWriting);
        stream.Commit();
    }
    EXPECT_EQ(readFile(target), "hello 42");
    EXPECT_EQ(Entries(), std::vector<std::string>{"out.pdf"});

    // Without Commit nothing reaches the path, and nothing is left over.
    fs::remove(target);
    {
        PdfFileStream stream(target.string().c_str());
        stream << "partial";
    }
    EXPECT_TRUE(Entries().empty());
}

// A link is written through: its target gets the new contents.
TEST_F(PdfFileStreamTest, WritesThroughASymbolicLink) {
    fs::path target = dir / "out.pdf";
    writeFile(target, "before");
    std::error_code linked;
    fs::create_symlink("out.pdf", dir / "link.pdf", linked);
#ifdef _WIN32
    // Windows creates symbolic links only with a privilege that test runs
    // do not have, and Wine not at all.
    if (linked)
        GTEST_SKIP() << "no symbolic links here: " << linked.message();
#endif
    ASSERT_FALSE(linked) << linked.message();
    {
        PdfFileStream stream((dir / "link.pdf").string().c_str());
        stream << "via link";
        stream.Commit();
    }
    EXPECT_TRUE(fs::is_symlink(dir / "link.pdf"));
    EXPECT_EQ(readFile(target), "via link");
}

TEST_F(PdfFileStreamTest, UnwritablePathsFailAtTheFirstWrite) {
    std::string missing = (dir / "no" / "such" / "out.pdf").string();
    PdfFileStream stream(missing.c_str());
    EXPECT_EQ(stream.GetLastError(), ENOENT);
    const PdfError expected(-3, "ERROR: cannot write to stream(" + std::to_string(ENOENT) + ").");
    EXPECT_EQ(CatchPdf([&] { stream << "x"; }), expected);
    // The number travels apart from the text too, for callers that word
    // the reason themselves.
    try {
        stream << "x";
        ADD_FAILURE() << "no exception";
    } catch (const PdfException& error) {
        EXPECT_EQ(error.GetSystemError(), ENOENT);
    }
    EXPECT_EQ(CatchPdf([&] { stream.Commit(); }), expected);

    // A directory at the path is refused as a plain open would refuse it,
    // with the system's reason.
    fs::create_directory(dir / "sub");
    PdfFileStream onDirectory((dir / "sub").string().c_str());
    EXPECT_EQ(CatchPdf([&] { onDirectory << "x"; }),
              PdfError(-3, "ERROR: cannot write to stream(" + std::to_string(kDirectoryOpenError) + ")."));
    PdfFileStream empty("");
    EXPECT_EQ(CatchPdf([&] { empty << "x"; }).first, -3);
    EXPECT_EQ(Entries(), std::vector<std::string>{"sub"});
}

TEST_F(PdfFileStreamTest, FailedDocumentKeepsTheExistingFile) {
    fs::path target = dir / "out.pdf";
    writeFile(target, "previous contents");

    PdfDoc doc;
    doc.CreateDocument();
    doc.AddPage();
    // A real that cannot be written stops the document midway.
    doc.GetInfo()->AddElement("Bad", new PdfReal(40000));
    EXPECT_EQ(CatchPdf([&] { doc.WriteToFile(target.string().c_str()); }).first, -4);
    EXPECT_EQ(readFile(target), "previous contents");
    EXPECT_EQ(Entries(), std::vector<std::string>{"out.pdf"});

    // A fixed document replaces the file completely.
    doc.GetInfo()->RemoveElement("Bad");
    // Permissions other than a new file's (on Windows, where a file is only
    // writable or read-only, whatever the system made of them).
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const fs::perms chosen = fs::status(target).permissions();
#ifndef _WIN32
    ASSERT_EQ(chosen & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
#endif
    doc.WriteToFile(target.string().c_str());
    std::string written = readFile(target);
    EXPECT_EQ(written.rfind("%PDF-1.2\n", 0), 0u);
    EXPECT_EQ(written.size(), 518u);
    EXPECT_EQ(fs::status(target).permissions(), chosen);
    EXPECT_EQ(Entries(), std::vector<std::string>{"out.pdf"});

    // A document that cannot be written at all leaves no file.
    fs::path other = dir / "other.pdf";
    PdfDoc none;
    EXPECT_EQ(CatchPdf([&] { none.WriteToFile(other.string().c_str()); }).first, -5);
    EXPECT_FALSE(fs::exists(other));
    EXPECT_EQ(CatchPdf([&] { doc.WriteToFile((dir / "missing" / "x.pdf").string().c_str()); }).first, -3);
    EXPECT_EQ(Entries(), std::vector<std::string>{"out.pdf"});
}
