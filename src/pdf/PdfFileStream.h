// Output stream into a file.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "pdf/PdfStreamBase.h"

// Writes into a temporary file in the target's directory; Commit moves it to
// the target path. A stream destroyed without Commit removes its temporary
// file, so a failed document never leaves a partial file behind and never
// destroys a file that already was at the path. Where the system offers it
// the temporary file has no name until Commit, so that not even a killed
// process leaves one; elsewhere it is a hidden file beside the target.
//
// Opening problems surface at the first Write, as writing problems do:
// -3 "ERROR: cannot write to stream(%d)." with the errno of the failed call.
class PdfFileStream : public PdfStreamBase {
public:
    // Size of the file's write buffer: documents are written in pieces of
    // about a kilobyte, and stdio's default buffer would turn a large model
    // into tens of thousands of small write calls.
    static constexpr size_t kBufferSize = 64 * 1024;

    explicit PdfFileStream(const char* path);
    ~PdfFileStream() override;

    // Flushes and closes the file and renames it to the target path (-3 with
    // errno on failure). Writes after Commit fail.
    void Commit();
    // errno of the last failed open, write or commit; 0 when none failed.
    int GetLastError() const { return m_lastError; }

protected:
    size_t WriteBytes(const void* bytes, size_t length) override;

private:
    void Open();
    // Resolves a symbolic link at the path to its target, and refuses what
    // a plain open of the path would refuse although a temporary file beside
    // it could be written (an existing read-only file, a directory, the empty
    // path): false with m_lastError set.
    bool PrepareTarget();
    // Gives the unnamed file its name at Commit: the target's own when no
    // file is there (true), else a hidden name beside it, which the rename
    // then moves over the existing file (false).
    bool NameUnnamedFile();
    // Tries hidden names beside the target until claim accepts one (true,
    // the name in m_tempPath) or fails otherwise than with EEXIST (false,
    // errno in m_lastError).
    template <typename Claim>
    bool ClaimHiddenName(Claim claim);
    // Closes the file; the error of a failed close.
    int CloseFile();
    [[noreturn]] void Fail(int error);

    std::string m_path;
    std::string m_tempPath;  // the named temporary file, once it has a name
    std::unique_ptr<char[]> m_buffer;  // outlives m_file, which it buffers
    std::FILE* m_file = nullptr;
    int m_lastError = 0;
    bool m_unnamed = false;  // m_file has no name yet
    bool m_committed = false;
};
