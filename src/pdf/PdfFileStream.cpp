#include "pdf/PdfFileStream.h"

#include <cerrno>
#include <filesystem>
#include <random>

#include "pdf/PdfException.h"
#include "runtime/platform/platform.h"

namespace fs = std::filesystem;

namespace {

// A hidden name in the target's directory, so that the final rename never
// crosses file systems, and short, so that it fits wherever the target does.
std::string TempPathBeside(const std::string& target, unsigned long long tag) {
    char name[40];
    std::snprintf(name, sizeof(name), ".u3dpdf-%016llx.tmp", tag);
    return (fs::path(target).parent_path() / name).string();
}

}  // namespace

PdfFileStream::PdfFileStream(const char* path) : m_path(path ? path : "") { Open(); }

PdfFileStream::~PdfFileStream() {
    if (m_file)
        std::fclose(m_file);
    if (!m_committed && !m_tempPath.empty())
        std::remove(m_tempPath.c_str());
}

void PdfFileStream::Open() {
    if (!PrepareTarget())
        return;
    std::random_device entropy;
    std::mt19937_64 tags((static_cast<unsigned long long>(entropy()) << 32) ^ entropy());
    // A name that is taken is skipped for the next one.
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = TempPathBeside(m_path, tags());
        m_file = platform::createNewFile(candidate.c_str());
        if (m_file) {
            m_tempPath = candidate;
            m_buffer.reset(new char[kBufferSize]);
            std::setvbuf(m_file, m_buffer.get(), _IOFBF, kBufferSize);
            return;
        }
        m_lastError = errno;
        if (m_lastError != EEXIST)
            return;
    }
}

bool PdfFileStream::PrepareTarget() {
    if (m_path.empty()) {
        m_lastError = ENOENT;
        return false;
    }
    std::error_code ec;
    if (!fs::exists(m_path, ec))
        return true;
    // Written through a symbolic link, as a plain open would: the file it
    // points to is replaced, not the link.
    if (fs::is_symlink(m_path, ec)) {
        fs::path target = fs::canonical(m_path, ec);
        if (!ec)
            m_path = target.string();
    }
    // Append mode opens an existing file without changing it.
    std::FILE* probe = std::fopen(m_path.c_str(), "ab");
    if (!probe) {
        m_lastError = errno;
        return false;
    }
    std::fclose(probe);
    return true;
}

size_t PdfFileStream::WriteBytes(const void* bytes, size_t length) {
    if (!m_file)
        Fail(m_lastError);
    if (length > 0 && std::fwrite(bytes, length, 1, m_file) != 1)
        Fail(errno);
    return length;
}

void PdfFileStream::Commit() {
    if (!m_file)
        Fail(m_lastError);
    // Buffered bytes can still fail (a full disk shows up here), so the
    // flush and the close are checked like every write.
    if (std::fflush(m_file) != 0)
        Fail(errno);
    int closed = std::fclose(m_file);
    m_file = nullptr;
    if (closed != 0)
        Fail(errno);
    std::error_code ec;
    // A replaced file keeps its permissions.
    fs::perms perms = fs::status(m_path, ec).permissions();
    if (!ec && perms != fs::perms::unknown)
        fs::permissions(m_tempPath, perms, ec);
    fs::rename(m_tempPath, m_path, ec);
    if (ec)
        Fail(ec.value());
    m_committed = true;
}

void PdfFileStream::Fail(int error) {
    m_lastError = error;
    PdfException failure(PdfErrWrite, "ERROR: cannot write to stream(%d).", error);
    failure.SetSystemError(error);
    throw failure;
}
