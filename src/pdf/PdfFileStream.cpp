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
    // An unnamed file vanishes with its last descriptor.
    if (m_file)
        std::fclose(m_file);
    if (!m_committed && !m_tempPath.empty())
        std::remove(m_tempPath.c_str());
}

template <typename Claim>
bool PdfFileStream::ClaimHiddenName(Claim claim) {
    std::random_device entropy;
    std::mt19937_64 tags((static_cast<unsigned long long>(entropy()) << 32) ^ entropy());
    // A name that is taken is skipped for the next one.
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = TempPathBeside(m_path, tags());
        if (claim(candidate.c_str())) {
            m_tempPath = candidate;
            return true;
        }
        m_lastError = errno;
        if (m_lastError != EEXIST)
            return false;
    }
    return false;
}

void PdfFileStream::Open() {
    if (!PrepareTarget())
        return;
    // A file that fails here is tried again with a name, which reports the
    // reason a named file meets, as writers always have.
    const fs::path dir = fs::path(m_path).parent_path();
    m_file = platform::createUnnamedFile(dir.empty() ? "." : dir.string().c_str());
    m_unnamed = m_file != nullptr;
    const auto createNamed = [this](const char* name) {
        m_file = platform::createNewFile(name);
        return m_file != nullptr;
    };
    if (!m_file && !ClaimHiddenName(createNamed))
        return;
    m_buffer.reset(new char[kBufferSize]);
    std::setvbuf(m_file, m_buffer.get(), _IOFBF, kBufferSize);
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

bool PdfFileStream::NameUnnamedFile() {
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(m_path, ec))) {
        if (platform::nameUnnamedFile(m_file, m_path.c_str()))
            return true;
        // Someone created the file meanwhile: it is replaced like any other.
        if (errno != EEXIST)
            Fail(errno);
    }
    if (!ClaimHiddenName([this](const char* name) { return platform::nameUnnamedFile(m_file, name); }))
        Fail(m_lastError);
    return false;
}

int PdfFileStream::CloseFile() {
    const int closed = std::fclose(m_file);
    m_file = nullptr;
    return closed == 0 ? 0 : errno;
}

void PdfFileStream::Commit() {
    if (!m_file)
        Fail(m_lastError);
    // Buffered bytes can still fail (a full disk shows up here), so the
    // flush and the close are checked like every write.
    if (std::fflush(m_file) != 0)
        Fail(errno);
    if (m_unnamed && NameUnnamedFile()) {
        m_unnamed = false;
        // Named at the target already: a close that fails leaves no doubtful
        // file there.
        if (const int error = CloseFile()) {
            std::remove(m_path.c_str());
            Fail(error);
        }
        m_committed = true;
        return;
    }
    m_unnamed = false;
    if (const int error = CloseFile())
        Fail(error);
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
